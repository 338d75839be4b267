#include "app/frame_timing.h"

#include "platform/clock.h"
#include "state/level_state.h"

namespace {

constexpr int kMicrosPerSecond = 1000000;
constexpr int kLongestFrame = 500000;  // longer frames count as kStandInFrame
constexpr int kStandInFrame = 100000;
constexpr int kShortestFrame = 100;
constexpr int kFrameMsLead = 5;  // frameMs settles at the frame's ms + 5
constexpr double kMsPerTimeUnit = 50.0;

int readMicros() {
  timeval now{};
  clock_gettimeofday(&now);
  return static_cast<int>(now.tv_usec);
}

// One smoothing step of frameMs towards ms + 5, then dt from it.
void smoothFrameTime(int ms) {
  if (levelState.frameMs - ms > kFrameMsLead) levelState.frameMs -= 1;
  if (levelState.frameMs - ms < kFrameMsLead) levelState.frameMs += 1;
  levelState.dt = static_cast<float>(levelState.frameMs / kMsPerTimeUnit);
}

}  // namespace

int previousFrameMicros;

void startFrameClock() {
  previousFrameMicros = readMicros();
}

void measureFrameTime() {
  const int now = readMicros();
  const int elapsed = frameElapsedMicros(previousFrameMicros, now);
  previousFrameMicros = now;
  smoothFrameTime(elapsed / 1000);
}

int frameElapsedMicros(int previous, int now) {
  int elapsed = previous < now ? now - previous : now - (previous - kMicrosPerSecond);
  if (elapsed > kLongestFrame) elapsed = kStandInFrame;
  if (elapsed < kShortestFrame) elapsed = kShortestFrame;
  return elapsed;
}
