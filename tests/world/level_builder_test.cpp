// The level builder on small tables of its own: terminators, gate slots, the
// turret count and reruns, and the box limit with its message.
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

constexpr int kLevel = 4;  // the slot the tests swap their tables into

void addWords(std::vector<int32_t>& words, std::initializer_list<int32_t> more) {
  for (int32_t word : more) words.push_back(word);
}

void addBox(std::vector<int32_t>& words, int x1, int y1, int x2, int y2, int colour) {
  addWords(words, {x1, y1, x2, y2, colour});
}

// Terminator, ball, turret count and that many turrets (x = 100 + 20 i, y = 600 + i, kind 1).
void addTail(std::vector<int32_t>& words, int lastTurretValue, int turretRecords) {
  addWords(words, {0, 0, 0, 0, 0, 1140, 636, lastTurretValue});
  for (int i = 0; i < turretRecords; ++i) addWords(words, {100 + 20 * i, 600 + i, 1});
}

std::vector<int32_t> bandsTable(int boxCount) {
  std::vector<int32_t> words;
  for (int i = 0; i < boxCount; ++i)
    addBox(words, 0, 600 + 8 * (i % 200), 2399, 607 + 8 * (i % 200), 66);
  addTail(words, 0, 1);
  return words;
}

TEST(LevelBuilder, ATableThatStartsWithTheTerminatorBuildsNoTerrainAndNoGates) {
  std::vector<int32_t> words;
  addTail(words, 0, 1);
  SwappedLevelTable swap(kLevel, words);
  gates[3] = Gate{7, 99, 1};
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastBox, 0);
  for (const Gate& gate : gates) EXPECT_EQ(gate.boxIndex, 0);
  EXPECT_EQ(levelState.ballX, 1140);
  EXPECT_EQ(levelState.ballY, 636);
  EXPECT_EQ(lastTurret, 0);
  EXPECT_EQ(turrets[0].x, 100);
}

TEST(LevelBuilder, ElevenGateBoxesFillNineSlotsAndLeaveTheLastInSlotNine) {
  std::vector<int32_t> words;
  addBox(words, 0, 2392, 2399, 2399, 66);  // slot 0, so that no gate lands there
  for (int i = 0; i < 11; ++i) addBox(words, 100 * i, 800, 100 * i + 63, 807, kGateBoxColour);
  addTail(words, 0, 1);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  for (int slot = 0; slot < 9; ++slot) EXPECT_EQ(gates[slot].boxIndex, slot + 1);
  EXPECT_EQ(gates[9].boxIndex, 11);
  EXPECT_EQ(gates[9].fullX2, 1063);
  moveGates(5);
  EXPECT_EQ(boxes[10].x2, 963) << "the tenth gate box keeps its full width";
  EXPECT_EQ(boxes[11].x2, 1058);
}

TEST(LevelBuilder, ALastTurretOfZeroMeansOneTurret) {
  std::vector<int32_t> words;
  addBox(words, 0, 648, 2399, 655, 43);
  addTail(words, 0, 1);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastTurret, 0);
  EXPECT_EQ(turrets[0].y, 600);
  EXPECT_EQ(turrets[0].kind, kFloorTurret);
}

TEST(LevelBuilder, ALastTurretOf150IsCutTo100AndReads101Turrets) {
  std::vector<int32_t> words;
  addTail(words, 150, 151);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastTurret, 100);
  EXPECT_EQ(turrets[100].x, 100 + 20 * 100);
  EXPECT_EQ(turrets[100].y, 700);
  int32_t next = -1;
  readLevelWord(kLevel, &next);
  EXPECT_EQ(next, 100 + 20 * 101) << "the 102nd record is left unread";
}

TEST(LevelBuilder, ARerunWithoutLoadingTurretsKeepsTheShotOnesDestroyed) {
  std::vector<int32_t> words;
  addTail(words, 4, 5);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  for (int i : {0, 2, 3}) turrets[i].kind = 0;
  turrets[1].reload = 77;
  buildLevel(kLevel, 0);
  EXPECT_EQ(lastTurret, 4);
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(turrets[1].kind, kFloorTurret);
  EXPECT_EQ(turrets[2].kind, 0);
  EXPECT_EQ(turrets[3].kind, 0);
  EXPECT_EQ(turrets[4].kind, kFloorTurret);
  EXPECT_EQ(turrets[1].reload, 77) << "the countdowns go on";
  buildLevel(kLevel, 1);
  EXPECT_EQ(turrets[0].kind, kFloorTurret) << "entering anew brings them back";
  EXPECT_EQ(turrets[1].reload, 77) << "the builder never writes a countdown";
}

TEST(LevelBuilder, ARebuildClosesAHalfOpenGateAndPutsTheBallBack) {
  buildLevel(2, 1);
  const Gate first = gates[0];
  moveGates(20);
  levelState.ballX = 5;
  buildLevel(2, 0);
  EXPECT_EQ(boxes[gates[0].boxIndex].x2, first.fullX2);
  EXPECT_EQ(gates[0].extending, 0);
  EXPECT_EQ(levelState.ballX, 1212);
}

TEST(LevelBuilder, ReadingPastTheEndOfATableGivesZero) {
  const std::vector<int32_t> words = {0, 0, 0, 0, 0};
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_EQ(levelState.ballX, 0);
  EXPECT_EQ(lastTurret, 0);
  EXPECT_EQ(turrets[0].kind, 0);
}

class BoxLimit : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    startKeyboard();
    useScript("wait 3\nhold ENTER 1\nwait 5\n");
  }
  void TearDown() override { stopKeyboard(); }

  static bool messageShown() {
    const unsigned char* screen = headlessScreen();
    for (int y = 20; y < 25; ++y) {
      for (int x = 100; x < 190; ++x) {
        if (screen[y * kScreenWidth + x] == 3) return true;
      }
    }
    return false;
  }
};

TEST_F(BoxLimit, A1999BoxLevelBuildsWithoutAMessage) {
  const std::vector<int32_t> words = bandsTable(1999);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastBox, 1999);
  EXPECT_EQ(headlessPollCount(), 0);
  EXPECT_FALSE(messageShown());
  EXPECT_EQ(levelState.ballX, 1140);
}

TEST_F(BoxLimit, A2000BoxLevelShowsTheMessageAndWaitsForEnter) {
  const std::vector<int32_t> words = bandsTable(2000);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_TRUE(messageShown());
  EXPECT_EQ(headlessPollCount(), 4) << "three polls without a key, then Enter";
  EXPECT_EQ(lastBox, 2000) << "the terrain is the 2000 boxes read";
}

TEST_F(BoxLimit, ATableWithoutATerminatorStopsAtTheLastSlot) {
  std::vector<int32_t> words;
  for (int i = 0; i < 2100; ++i) addBox(words, 0, 600, 2399, 607, 66);
  SwappedLevelTable swap(kLevel, words);
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastBox, 2000);
  EXPECT_EQ(headlessPollCount(), 4);
}

}  // namespace
