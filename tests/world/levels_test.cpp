// The eight built-in levels (their tables, pinned; the playthrough builds and wins
// each), and the builder on small tables of its own.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/game.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "state/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

// Points levelTables[level] at the test's own words until the end of the scope.
struct SwappedLevelTable {
  SwappedLevelTable(int level, std::vector<int32_t> table)
      : level(level), words(std::move(table)), saved(levelTables[level]) {
    levelTables[level] = LevelTable{words.data(), static_cast<int32_t>(words.size())};
  }
  ~SwappedLevelTable() { levelTables[level] = saved; }
  int level;
  std::vector<int32_t> words;
  LevelTable saved;
};

// The words of each level's table, pinned by a digest: a change to a level's
// text shows here, and the playthrough then tells whether it can still be won.
constexpr uint64_t kTableDigests[kLevelCount] = {
    18041825441979502342u, 10946299334622039155u, 15263030374214824354u, 10226468224186252515u,
    6944526732758560957u,  12602205508105171276u, 16214833585418720183u, 6188466518071920003u};

TEST(Levels, KeepTheirTables) {
  for (int level = 0; level < kLevelCount; ++level) {
    const LevelTable& table = levelTables[level];
    EXPECT_EQ(digestOf(table.words, table.count * sizeof(int32_t)), kTableDigests[level]) << level;
  }
}

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

TEST(LevelBuilder, ATurretCountOf150IsCutTo100AndARerunWithoutTurretsKeepsTheDestroyedOnes) {
  SwappedLevelTable swap(kLevel, table({}, 150, 151));
  buildLevel(kLevel, 1);
  EXPECT_EQ(lastTurret, 100);
  EXPECT_EQ(turrets[100].y, 700);
  int32_t next = 0;
  readLevelWord(kLevel, &next);
  EXPECT_EQ(next, 100 + 20 * 101) << "the rest is left unread";
  turrets[1].kind = 0;
  buildLevel(kLevel, 0);
  EXPECT_EQ(lastTurret, 100);
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
    loadLevel(kLevel, 1);
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

}  // namespace
