// State shared by the headless backend's files; nothing outside the backend reads it.
// The script's keys and clock are the script player's (src/platform/script/).
#pragma once

#include <cstdint>
#include <string>

#include "platform/vga.h"

struct HeadlessState {
  bool graphicsMode = false;
  bool keyboardOpen = false;
  uint8_t videoMemory[kFrameBytes] = {};
  uint8_t palette[768] = {};
  long presents = 0;
  long polls = 0;
  long long pollLimit = 1000000;  // a demo's own polls come on top
  bool shotFailed = false;
  std::string outDir = ".";
};

HeadlessState& headlessState();
