// The backend's clock, poll count and held keys, taken and put back as one.
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/script/script_player.h"

HeadlessMoment headlessMoment() {
  const ScriptPlayer& player = scriptPlayer();
  return {player.clockMicros, player.stepMicros, headlessState().polls, player.held};
}

void headlessRestoreMoment(const HeadlessMoment& moment) {
  ScriptPlayer& player = scriptPlayer();
  player.clockMicros = moment.clockMicros;
  player.stepMicros = moment.stepMicros;
  headlessState().polls = moment.polls;
  player.held = moment.held;
}
