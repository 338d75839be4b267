// The level's clock. Once per frame the microseconds field of the wall clock
// gives the last frame's duration (clamped to 100 us .. 500 ms, anything
// longer taken as 100 ms); frameMs follows that duration plus 5 ms by one
// millisecond per frame, and dt = frameMs / 50 time units. Only the level
// loop calls it; the help screen and the options menu zero frameMs and dt.
#pragma once

// The microseconds field of the last reading, which the next frame measures from.
extern int previousFrameMicros;

// Takes the reading that the first frame measures from.
void startFrameClock();
// Reads the clock and sets levelState.frameMs and levelState.dt.
void measureFrameTime();

// Microseconds between two readings of the microseconds field, clamped: equal
// readings count as a whole second, which the clamp turns into 100 ms.
int frameElapsedMicros(int previous, int now);
