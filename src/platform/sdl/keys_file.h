// The keys file: where it lives, and the bindings in force, read from it once
// over the defaults. A missing file means the defaults; each problem in it is
// one message on standard error naming the file and line, and never stops the game.
#pragma once

#include <string>

#include "platform/sdl/key_bindings.h"

// The bindings in force; the first call reads the file.
const KeyBindings& playerKeyBindings();
// Reads the file again at the next playerKeyBindings() (for tests).
void forgetPlayerKeyBindings();
