// Reads a script or demo file for the runner and the game: only a regular
// file of at most 64 MiB is taken, read without waiting (a FIFO cannot block)
// and without growing past the limit. Messages are printable.
#pragma once

#include <string>

#include "platform/script/script_format.h"

// The file's bytes; false with "FILE: why" in *error.
bool readScriptFile(const char* path, std::string* text, std::string* error);
// Reads and parses; false with "FILE: why" or "FILE: line N: why" in *error.
bool loadScriptFile(const char* path, ParsedScript* script, std::string* error);
