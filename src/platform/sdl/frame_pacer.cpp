#include "platform/sdl/frame_pacer.h"

#include <cerrno>
#include <ctime>

uint64_t takePresentTime(FramePacer& pacer, uint64_t now) {
  if (pacer.deadline == 0 || now > pacer.deadline + kPacerStallLimit) pacer.deadline = now;
  uint64_t at = pacer.deadline;
  pacer.deadline += kPacerPeriod;
  return at;
}

uint64_t monotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(now.tv_nsec);
}

void sleepUntil(uint64_t monotonicNs) {
  timespec until{static_cast<time_t>(monotonicNs / 1'000'000'000u),
                 static_cast<long>(monotonicNs % 1'000'000'000u)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}
