// Refreshes the Controls record (state/controls.h) from the keyboard, all
// flags together, once per poll. Also owns taking over and giving back the
// raw keyboard.
#pragma once

#include "state/controls.h"

void startKeyboard();
void stopKeyboard();
void pollControls();
// Zeroes fire, help, pause, screenshot, options, keyF5 and keyF6.
void clearOneShotControls();
