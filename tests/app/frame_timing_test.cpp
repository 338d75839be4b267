#include "app/frame_timing.h"

#include <gtest/gtest.h>

#include "app/level_state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

// frameMs after one measured frame of the given clock step, starting from frameMs.
int frameMsAfterStep(int clockStepMs, int frameMs) {
  startHeadlessVideo();
  headlessSetFrameMs(clockStepMs);
  levelState.frameMs = frameMs;
  startFrameClock();
  measureFrameTime();
  return levelState.frameMs;
}

TEST(FrameTiming, AFrameLongerThanHalfASecondCountsAsOneHundredMs) {
  EXPECT_EQ(frameElapsedMicros(0, 700000), 100000);
  EXPECT_EQ(frameMsAfterStep(700, 110), frameMsAfterStep(100, 110));
  EXPECT_EQ(frameMsAfterStep(700, 110), 109);
}

TEST(FrameTiming, FiftyMicrosecondsCountAsTheHundredMicrosecondMinimum) {
  EXPECT_EQ(frameElapsedMicros(1000, 1050), 100);
  EXPECT_EQ(frameElapsedMicros(1000, 1050) / 1000, 0);
}

TEST(FrameTiming, TwoEqualReadingsCountAsOneHundredMs) {
  EXPECT_EQ(frameElapsedMicros(250000, 250000), 100000);
  EXPECT_EQ(frameMsAfterStep(0, 110), 109);  // the headless clock standing still
}

TEST(FrameTiming, OnlyTheMicrosecondsFieldIsUsedSoASecondBoundaryWrapsAround) {
  EXPECT_EQ(frameElapsedMicros(990000, 10000), 20000);
  EXPECT_EQ(frameElapsedMicros(10000, 510001), 100000);
  EXPECT_EQ(frameElapsedMicros(10000, 510000), 500000);
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
}

TEST(FrameTiming, AfterTheHelpScreenTheTimeStepGrowsBackFromZero) {
  levelState.frameMs = 0;
  smoothFrameTime(20);
  EXPECT_EQ(levelState.frameMs, 1);
  EXPECT_FLOAT_EQ(levelState.dt, 0.02f);
  smoothFrameTime(20);
  EXPECT_FLOAT_EQ(levelState.dt, 0.04f);
}

}  // namespace
