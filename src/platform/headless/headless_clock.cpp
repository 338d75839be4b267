#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/script_player.h"

int clock_gettimeofday(struct timeval* now) {
  takeScriptClockReading(scriptPlayer(), now);
  recordDemoClock(*now);
  return 0;
}

void headlessSetFrameMs(int ms) {
  scriptPlayer().stepMicros = ms * 1000LL;
}
