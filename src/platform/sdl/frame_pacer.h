// Presents paced by deadlines: each deadline is one period after the previous
// one, so a frame that runs a little late does not push every later present
// back, and the interval between presents stays even. After a stall longer
// than kPacerStallLimit the schedule starts afresh from the present moment.
#pragma once

#include <cstdint>

constexpr uint64_t kPacerPeriod = 1'000'000'000 / 70;  // ns, the original display's refresh
constexpr uint64_t kPacerStallLimit = kPacerPeriod;

struct FramePacer {
  uint64_t deadline = 0;  // monotonic ns of the next present; 0 before the first
};

// When to present, given the time now: the deadline, or now after a stall. Moves the schedule on.
uint64_t takePresentTime(FramePacer& pacer, uint64_t now);
uint64_t monotonicNanoseconds();
void sleepUntil(uint64_t monotonicNs);
