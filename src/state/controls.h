// The keys the game reads, as one record of held flags refreshed together by
// pollControls (input/controls.h). Readers make single presses themselves (a
// remembered flag or a latch).
#pragma once

#include <cstdint>

struct Controls {
  uint8_t fire;        // Enter
  uint8_t help;        // F1
  uint8_t pause;       // F2
  uint8_t screenshot;  // F3
  uint8_t options;     // F4
  uint8_t keyF5;
  uint8_t keyF6;
  uint8_t quickExit;  // F12
  uint8_t escape;
  uint8_t turnLeft;   // A
  uint8_t turnRight;  // S
  uint8_t thrust;     // right Shift
  uint8_t tag;        // Space
  uint8_t arrowUp;
  uint8_t arrowRight;
  uint8_t arrowLeft;
  uint8_t arrowDown;
};

extern Controls controls;
