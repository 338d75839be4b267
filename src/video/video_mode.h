// The switch into the 320x200 256-colour mode and back to text mode.
// setVideoMode ends the process with status 1 when the mode is missing.
#pragma once

#include <cstdint>

// Address of video memory, fetched once by setVideoMode.
extern uint8_t* videoMemory;

void setVideoMode();
void setTextMode();
