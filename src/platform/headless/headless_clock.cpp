#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

int clock_gettimeofday(struct timeval* now) {
  HeadlessState& state = headlessState();
  state.clockMicros += state.frameMs * 1000LL;
  now->tv_sec = static_cast<time_t>(state.clockMicros / 1000000);
  now->tv_usec = static_cast<suseconds_t>(state.clockMicros % 1000000);
  return 0;
}

void headlessSetFrameMs(int ms) {
  headlessState().frameMs = ms;
}
