// The level builder on small tables of its own (terminators, gate slots, the
// turret count and reruns, the box limit with its message), and the moving gates.
#include <gtest/gtest.h>

#include <vector>

#include "app/level_state.h"
#include "input/controls.h"
#include "level_support.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

constexpr int kLevel = 4;  // the slot the tables are swapped into

// The boxes' words, the terminator, the ball at (1140, 636), the turret count and that many
// floor turrets at (100 + 20 i, 600 + i).
std::vector<int32_t> table(std::vector<int32_t> words, int lastTurretWord, int turrets) {
  words.insert(words.end(), {0, 0, 0, 0, 0, 1140, 636, lastTurretWord});
  for (int i = 0; i < turrets; ++i) words.insert(words.end(), {100 + 20 * i, 600 + i, 1});
  return words;
}

TEST(LevelBuilder, ATerminatorFirstBuildsNoTerrainAndWordsPastTheEndReadAsZero) {
  gates[3] = Gate{7, 99, 1};
  {
    SwappedLevelTable swap(kLevel, table({}, 0, 1));
    buildLevel(kLevel, 1);
    EXPECT_EQ(lastBox, 0);
    for (const Gate& gate : gates) EXPECT_EQ(gate.boxIndex, 0);
    EXPECT_EQ(levelState.ballX, 1140);
    EXPECT_EQ(lastTurret, 0) << "a count of 0 is one turret";
    EXPECT_EQ(turrets[0].x, 100);
  }
  SwappedLevelTable swap(kLevel, {0, 0, 0, 0, 0, 1140});
  buildLevel(kLevel, 1);
  EXPECT_EQ(levelState.ballY, 0);
  EXPECT_EQ(turrets[0].kind, 0);
}

TEST(LevelBuilder, ElevenGateBoxesFillNineSlotsAndTheLastOneTheTenth) {
  std::vector<int32_t> words = {0, 2392, 2399, 2399, 66};  // slot 0, where no gate may land
  for (int i = 0; i < 11; ++i) words.insert(words.end(), {100 * i, 800, 100 * i + 63, 807, 14});
  SwappedLevelTable swap(kLevel, table(words, 0, 1));
  buildLevel(kLevel, 1);
  for (int slot = 0; slot < 9; ++slot) EXPECT_EQ(gates[slot].boxIndex, slot + 1);
  EXPECT_EQ(gates[9].boxIndex, 11);
  moveGates(5);
  EXPECT_EQ(boxes[10].x2, 963) << "the tenth gate box stands still";
  EXPECT_EQ(boxes[11].x2, 1058);
}

TEST(LevelBuilder, ATurretCountOf150IsCutTo100AndLeavesTheRestUnread) {
  SwappedLevelTable swap(kLevel, table({}, 150, 151));
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastTurret, 100);
  EXPECT_EQ(turrets[100].y, 700);
  int32_t next = 0;
  readLevelWord(kLevel, &next);
  EXPECT_EQ(next, 100 + 20 * 101);
}

TEST(LevelBuilder, ARerunWithoutLoadingTurretsKeepsTheDestroyedOnes) {
  SwappedLevelTable swap(kLevel, table({}, 2, 3));
  buildLevel(kLevel, 1);
  turrets[1].kind = 0;
  buildLevel(kLevel, 0);
  EXPECT_EQ(lastTurret, 2);
  EXPECT_EQ(turrets[1].kind, 0);
  EXPECT_EQ(turrets[2].kind, kFloorTurret);
  buildLevel(kLevel, 1);
  EXPECT_EQ(turrets[1].kind, kFloorTurret);
}

TEST(LevelBuilder, The2000thBoxShowsTheLimitMessageAndWaitsForEnter) {
  startHeadlessVideo();
  startKeyboard();
  std::vector<int32_t> bands;
  for (int i = 0; i < 2000; ++i)
    bands.insert(bands.end(), {0, 600 + 8 * (i % 200), 2399, 607 + 8 * (i % 200), 66});
  for (int count : {1999, 2000}) {
    SwappedLevelTable swap(kLevel, table({bands.begin(), bands.begin() + 5 * count}, 0, 1));
    useScript("wait 3\nhold ENTER 1\nwait 5\n");
    buildLevel(kLevel, 1);
    int messagePixels = 0;
    for (int y = 20; y < 25; ++y)
      for (int x = 100; x < 190; ++x) messagePixels += headlessScreen()[y * kScreenWidth + x] == 3;
    EXPECT_EQ(lastBox, count);
    EXPECT_EQ(levelState.ballX, 1140);
    EXPECT_EQ(headlessPollCount(), count == 2000 ? 4 : 0) << "three polls, then Enter";
    EXPECT_EQ(messagePixels > 0, count == 2000);
  }
  stopKeyboard();
}

class Gates : public testing::Test {
 protected:
  void SetUp() override {
    for (Gate& gate : gates) gate = Gate{0, 5, 1};  // empty slots, whatever else they hold
    boxes[0] = Box{0, 0, 7, 7, 66};
    boxes[1] = Box{1000, 800, 1063, 807, kGateBoxColour};
    gates[0] = Gate{1, 1063, 0};
  }
};

TEST_F(Gates, ASixtyFourPixelGateNarrowsToOneColumnIn63StepsThenCyclesIn128) {
  std::vector<int> edges;
  for (int steps : {63, 64, 64}) {
    for (int i = 0; i < steps; ++i) moveGates(1);
    edges.push_back(boxes[1].x2);
  }
  EXPECT_EQ(edges, (std::vector<int>{1000, 1064, 1000}));
  EXPECT_EQ(boxes[0].x2, 7) << "the empty slots moved nothing";
}

TEST_F(Gates, ALargeStepOvershootsEitherEndAndTurnsTheGate) {
  std::vector<int> edges;
  for (int x2 : {1003, 1060}) {
    boxes[1].x2 = x2;
    moveGates(10);
    edges.push_back(boxes[1].x2);
    moveGates(1);
    edges.push_back(boxes[1].x2);
  }
  EXPECT_EQ(edges, (std::vector<int>{993, 994, 1070, 1069}));
}

TEST_F(Gates, TheClockStepsOnlyPastTwoTimeUnitsAndStandsStillWhilePaused) {
  float clock = 0.0f;
  advanceGates(&clock, 2.0f);
  for (int i = 0; i < 10; ++i) advanceGates(&clock, 0.0f);
  EXPECT_EQ(boxes[1].x2, 1063);
  EXPECT_FLOAT_EQ(clock, 2.0f);
  advanceGates(&clock, 0.1f);
  EXPECT_EQ(boxes[1].x2, 1062);
  advanceGates(&clock, 8.9f);  // 9 / 2 + 0.5: five steps at once
  EXPECT_EQ(boxes[1].x2, 1057);
}

}  // namespace
