// The backend's clock, poll count and held keys, taken and put back as one.
#include <algorithm>
#include <iterator>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"

HeadlessMoment headlessMoment() {
  const HeadlessState& state = headlessState();
  HeadlessMoment moment{state.clockMicros, state.frameMs, state.polls, {}};
  std::copy(std::begin(state.held), std::end(state.held), std::begin(moment.held));
  return moment;
}

void headlessRestoreMoment(const HeadlessMoment& moment) {
  HeadlessState& state = headlessState();
  state.clockMicros = moment.clockMicros;
  state.frameMs = moment.frameMs;
  state.polls = moment.polls;
  std::copy(std::begin(moment.held), std::end(moment.held), std::begin(state.held));
}
