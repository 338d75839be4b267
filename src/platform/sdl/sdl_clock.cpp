// The wall clock, standing still while the window is away, so the game goes
// on from the moment it left; while a demo plays, the demo's readings. What
// the game is given is what a recording keeps.
#include "platform/clock.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/demo_session.h"
#include "platform/sdl/sdl_window.h"

int clock_gettimeofday(struct timeval* now) {
  if (demoPlaying()) return takeDemoClockReading(now);
  timeval wall{};
  int result = gettimeofday(&wall, nullptr);
  int64_t micros = static_cast<int64_t>(wall.tv_sec) * 1'000'000 + wall.tv_usec -
                   static_cast<int64_t>(windowAwayNanoseconds() / 1000);
  now->tv_sec = static_cast<time_t>(micros / 1'000'000);
  now->tv_usec = static_cast<suseconds_t>(micros % 1'000'000);
  recordDemoClock(*now);
  return result;
}
