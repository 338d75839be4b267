// What the keyboard and the clock ask of the window: the keyboard calls
// attendWindowAtPoll at the start of every poll (it may repaint, pace or wait
// there); the clock leaves out the time the window was away.
#pragma once

#include <cstdint>

void attendWindowAtPoll();
// Everything spent waiting for the window to come back, since the process started.
uint64_t windowAwayNanoseconds();
