// Moving gates: a gate box's right edge slides to its left edge and back,
// one pixel every 2 time units, catching up after long frames.
#include <gtest/gtest.h>

#include "world/gates.h"
#include "world/level_data.h"

namespace {

class Gates : public testing::Test {
 protected:
  void SetUp() override {
    for (Gate& gate : gates) gate = Gate{0, 0, 0};
    boxes[0] = Box{0, 0, 7, 7, 66};
    boxes[1] = Box{1000, 800, 1063, 807, kGateBoxColour};
    gates[0] = Gate{1, 1063, 0};
  }
  static int x2() { return boxes[1].x2; }
};

TEST_F(Gates, ASixtyFourPixelGateNarrowsToOneColumnIn63StepsThenCyclesIn128) {
  for (int i = 0; i < 63; ++i) moveGates(1);
  EXPECT_EQ(x2(), 1000);
  EXPECT_EQ(gates[0].extending, 1);
  for (int i = 0; i < 64; ++i) moveGates(1);
  EXPECT_EQ(x2(), 1064) << "one pixel past its full width";
  EXPECT_EQ(gates[0].extending, 0);
  for (int i = 0; i < 64; ++i) moveGates(1);
  EXPECT_EQ(x2(), 1000);
  EXPECT_EQ(gates[0].extending, 1);
}

TEST_F(Gates, ALargeStepCarriesTheEdgeBelowTheLeftEdgeAndTurnsTheGate) {
  boxes[1].x2 = 1003;
  moveGates(10);
  EXPECT_EQ(x2(), 993);
  EXPECT_EQ(gates[0].extending, 1);
  moveGates(1);
  EXPECT_EQ(x2(), 994);
}

TEST_F(Gates, ALargeStepCarriesTheEdgeBeyondItsFullWidthAndTurnsTheGate) {
  boxes[1].x2 = 1060;
  gates[0].extending = 1;
  moveGates(10);
  EXPECT_EQ(x2(), 1070);
  EXPECT_EQ(gates[0].extending, 0);
  moveGates(1);
  EXPECT_EQ(x2(), 1069);
}

TEST_F(Gates, AnEmptySlotIsSkippedWhateverItsOtherFieldsHold) {
  gates[1] = Gate{0, 5, 1};
  moveGates(3);
  EXPECT_EQ(boxes[0].x2, 7);
  EXPECT_EQ(x2(), 1060);
}

TEST_F(Gates, AFrameOfExactlyTwoTimeUnitsDoesNotMoveThemTheNextDoes) {
  float clock = 0.0f;
  advanceGates(&clock, 2.0f);
  EXPECT_EQ(x2(), 1063);
  EXPECT_FLOAT_EQ(clock, 2.0f);
  advanceGates(&clock, 0.1f);
  EXPECT_EQ(x2(), 1062);
  EXPECT_NEAR(clock, 0.1f, 1e-5);
}

TEST_F(Gates, APausedClockStandsStill) {
  float clock = 1.5f;
  for (int i = 0; i < 100; ++i) advanceGates(&clock, 0.0f);
  EXPECT_EQ(clock, 1.5f);
  EXPECT_EQ(x2(), 1063);
}

TEST_F(Gates, ALongFrameCatchesUpInOneRoundedStep) {
  float clock = 0.0f;
  advanceGates(&clock, 9.0f);  // 9 / 2 + 0.5 = 5 steps
  EXPECT_EQ(x2(), 1058);
  EXPECT_FLOAT_EQ(clock, -1.0f);
}

TEST_F(Gates, OrdinaryFramesMoveAGateTenPixelsASecond) {
  float clock = 0.0f;
  for (int frame = 0; frame < 100; ++frame) advanceGates(&clock, 0.4f);  // 100 frames of 20 ms
  EXPECT_NEAR(x2(), 1063 - 10 * 2, 1);
}

}  // namespace
