#include "app/frame_timing.h"

#include <gtest/gtest.h>

#include "app/level_state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

TEST(FrameTiming, ClampsTheMicrosecondsBetweenTwoReadings) {
  EXPECT_EQ(frameElapsedMicros(0, 700000), 100000);       // 0.7 s counts as 100 ms
  EXPECT_EQ(frameElapsedMicros(1000, 1050), 100);         // 50 us: the minimum, 0 ms
  EXPECT_EQ(frameElapsedMicros(250000, 250000), 100000);  // equal readings
  EXPECT_EQ(frameElapsedMicros(990000, 10000), 20000);    // over a second's boundary
}

TEST(FrameTiming, SteadyTwentyMsFramesSettleAtTwentyFiveAndHalfATimeUnit) {
  startHeadlessVideo();
  headlessSetFrameMs(20);
  levelState.frameMs = 30;
  startFrameClock();
  for (int frame = 0; frame < 4; ++frame) measureFrameTime();
  EXPECT_EQ(levelState.frameMs, 26);
  for (int frame = 0; frame < 20; ++frame) measureFrameTime();
  EXPECT_EQ(levelState.frameMs, 25);
  EXPECT_FLOAT_EQ(levelState.dt, 0.5f);
  headlessSetFrameMs(0);  // the clock standing still: 100 ms frames
  measureFrameTime();
  EXPECT_EQ(levelState.frameMs, 26);
}

}  // namespace
