#include "poll_hook.h"

void (*beforeEachPoll)() = nullptr;

// The SDL keyboard switches fullscreen on Alt+Enter; there is no window here.
void toggleFullscreen() {}

extern "C" void __real__Z15keyboard_updatev();
extern "C" void __wrap__Z15keyboard_updatev() {
  if (beforeEachPoll) beforeEachPoll();
  __real__Z15keyboard_updatev();
}
