// Moving gates: boxes of colour 14 whose right edge slides in and out.
// A gate moves by changing its box's x2; drawing and collision come free.
#pragma once

#include <cstdint>

struct Gate {
  int32_t boxIndex;   // 0 marks an empty slot
  int32_t fullX2;     // right edge of the closed gate
  int32_t extending;  // 0 while opening, 1 while closing
};

constexpr int kGateSlots = 10;

extern Gate gates[kGateSlots];

void moveGates(int steps);
// Adds dt to *gateClock and moves the gates by the whole steps that have come due.
void advanceGates(float* gateClock, float dt);
