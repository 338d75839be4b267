#include "world/gates.h"

#include "world/level_data.h"

Gate gates[kGateSlots];

namespace {

constexpr double kGatePeriod = 2.0;  // time units per one-pixel step

}  // namespace

void moveGates(int steps) {
  for (Gate& gate : gates) {
    if (gate.boxIndex == 0) continue;
    Box& box = boxes[gate.boxIndex];
    if (gate.extending == 0) {
      box.x2 -= steps;
      if (box.x1 >= box.x2) gate.extending = 1;
    } else {
      box.x2 += steps;
      if (box.x2 > gate.fullX2) gate.extending = 0;
    }
  }
}

void advanceGates(float* gateClock, float dt) {
  *gateClock += dt;
  if (*gateClock > kGatePeriod) {
    int steps = static_cast<int>(*gateClock / kGatePeriod + 0.5);
    if (steps > 0) {
      moveGates(steps);
      *gateClock -= steps * kGatePeriod;
    }
  }
}
