// Whole runs of kravix-headless: a flight straight up out of level 1's cave,
// and a fall onto its rock, each judged on the screen shots.
#include <gtest/gtest.h>

#include "shot_reading.h"
#include "support/test_support.h"

namespace {

constexpr char kToLevelOne[] =
    "wait 2\n"
    "hold ENTER 1  # the title screen\n"
    "wait 300      # time for the title to finish; the intro waits\n"
    "hold ENTER 1  # the intro\n"
    "wait 1\n";

TEST(FlyingEndToEnd, StraightUpOutOfTheCaveRunsTheCountdownAndEndsTheLevel) {
  const std::string folder = makeTempFolder("fly-up");
  const RunResult run = runHeadless(std::string(kToLevelOne) +
                                        "hold RSHIFT 90\n"
                                        "shot climbing\n"
                                        "wait 30\n"
                                        "shot countdown\n"
                                        "wait 60\n"
                                        "shot after\n",
                                    folder);
  ASSERT_EQ(run.status, 0);
  const ShotPixels climbing = readShotIndices(folder + "/climbing.idx");
  const ShotPixels countdown = readShotIndices(folder + "/countdown.idx");
  const ShotPixels after = readShotIndices(folder + "/after.idx");
  ASSERT_EQ(climbing.size(), 64000u);
  EXPECT_EQ(largestRingNearCentre(climbing, 26), 0);
  EXPECT_GE(countColours(climbing, {29}), 20);         // the outline, with a star or two
  EXPECT_GE(countColours(climbing, {32, 33, 34}), 1);  // fresh exhaust
  const int ring = largestRingNearCentre(countdown, 26);
  EXPECT_GE(ring, 6);
  EXPECT_LE(ring, 41);
  EXPECT_EQ(largestRingNearCentre(after, 26), 0);
  // Out without the ball: level 1 again, and no ship lost.
  EXPECT_TRUE(shotShowsText(after, 120, 90, 45, "LEVEL:"));
  EXPECT_TRUE(shotShowsNumber(after, 170, 90, 45, 1));
  EXPECT_TRUE(shotShowsText(after, 120, 110, 45, "SHIPS:"));
  EXPECT_TRUE(shotShowsNumber(after, 170, 110, 45, 3));
}

TEST(FlyingEndToEnd, FallingOntoTheRockDestroysTheShipInABurstOfDebris) {
  const std::string folder = makeTempFolder("crash");
  const RunResult run = runHeadless(std::string(kToLevelOne) +
                                        "wait 60\n"
                                        "shot falling\n"
                                        "wait 70\n"
                                        "shot crashed\n"
                                        "wait 300\n"
                                        "shot still\n"
                                        "hold ESC 1\n"
                                        "wait 2\n"
                                        "shot left\n",
                                    folder);
  ASSERT_EQ(run.status, 0);
  const ShotPixels falling = readShotIndices(folder + "/falling.idx");
  const ShotPixels crashed = readShotIndices(folder + "/crashed.idx");
  const ShotPixels still = readShotIndices(folder + "/still.idx");
  const ShotPixels left = readShotIndices(folder + "/left.idx");
  // The ship falls at the view's middle column; the ball stands 60 pixels to its left.
  EXPECT_GE(countColoursIn(falling, 130, 0, 190, 199, {29}), 20);
  EXPECT_EQ(countColoursIn(crashed, 130, 0, 190, 199, {29}), 0);  // no stars down here
  EXPECT_GE(countColours(crashed, {184, 112, 113, 40, 41, 42, 44, 14, 15}), 60);
  EXPECT_GE(countColours(crashed, {43}), 1000);                                // the rock
  EXPECT_EQ(countColours(still, {184, 112, 113, 40, 41, 42, 44, 14, 15}), 0);  // burnt out
  EXPECT_EQ(countColoursIn(still, 130, 0, 190, 199, {29}), 0);  // the wreck waits for Escape
  EXPECT_TRUE(shotShowsText(left, 120, 90, 45, "LEVEL:"));
  EXPECT_TRUE(shotShowsNumber(left, 170, 90, 45, 1));
  EXPECT_TRUE(shotShowsNumber(left, 170, 110, 45, 2));
}

}  // namespace
