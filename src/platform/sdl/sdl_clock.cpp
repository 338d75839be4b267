#include "platform/clock.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/demo_session.h"

int clock_gettimeofday(struct timeval* now) {
  if (demoPlaying()) return takeDemoClockReading(now);
  int result = gettimeofday(now, nullptr);
  recordDemoClock(*now);
  return result;
}
