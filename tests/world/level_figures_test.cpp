// The eight built-in levels hold exactly the figures the game's levels are known by.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/level_state.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

struct Figures {
  int boxes;
  int gateBoxes;
  std::map<int, int> colours;  // colour -> number of boxes
  int ballX, ballY;
  int floorTurrets, ceilingTurrets;
  int integers;
};

const Figures kFigures[kLevelCount] = {
    {239, 0, {{43, 19}, {66, 220}}, 1140, 636, 1, 0, 1206},
    {255, 0, {{32, 175}, {54, 45}, {55, 35}}, 1148, 908, 2, 2, 1295},
    {269, 4, {{14, 4}, {41, 263}, {54, 2}}, 1212, 892, 4, 1, 1368},
    {102, 0, {{25, 4}, {26, 22}, {27, 24}, {28, 52}}, 844, 844, 4, 1, 533},
    {101, 0, {{121, 101}}, 1076, 996, 3, 2, 528},
    {183, 0, {{40, 2}, {114, 181}}, 884, 1196, 6, 0, 941},
    {575,
     4,
     {{2, 109}, {14, 4}, {35, 116}, {40, 117}, {44, 111}, {54, 118}},
     1724,
     1388,
     24,
     6,
     2973},
    {420, 0, {{32, 22}, {56, 82}, {79, 316}}, 740, 1484, 12, 4, 2156},
};

class LevelFigures : public testing::TestWithParam<int> {
 protected:
  void SetUp() override { buildLevel(GetParam(), 1); }
  const Figures& figures() const { return kFigures[GetParam()]; }
};

TEST_P(LevelFigures, HasItsBoxCountAndTableLength) {
  EXPECT_EQ(lastBox, figures().boxes);
  EXPECT_EQ(levelTables[GetParam()].count, figures().integers);
  EXPECT_EQ(figures().integers, 5 * figures().boxes + 5 + 2 + 1 + 3 * (lastTurret + 1));
}

TEST_P(LevelFigures, HasItsColoursEachOnItsNumberOfBoxes) {
  std::map<int, int> colours;
  for (int i = 0; i < lastBox; ++i) ++colours[boxes[i].colour];
  EXPECT_EQ(colours, figures().colours);
}

TEST_P(LevelFigures, RegistersItsGateBoxes) {
  int registered = 0;
  for (const Gate& gate : gates) registered += gate.boxIndex != 0;
  EXPECT_EQ(registered, figures().gateBoxes);
}

TEST_P(LevelFigures, PutsTheBallOnItsStart) {
  EXPECT_EQ(levelState.ballX, figures().ballX);
  EXPECT_EQ(levelState.ballY, figures().ballY);
}

TEST_P(LevelFigures, HasItsFloorAndCeilingTurrets) {
  int floor = 0, ceiling = 0;
  for (int i = 0; i <= lastTurret; ++i) {
    floor += turrets[i].kind == kFloorTurret;
    ceiling += turrets[i].kind == kCeilingTurret;
  }
  EXPECT_EQ(lastTurret + 1, floor + ceiling);
  EXPECT_EQ(floor, figures().floorTurrets);
  EXPECT_EQ(ceiling, figures().ceilingTurrets);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelFigures, testing::Range(0, kLevelCount),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param + 1);
                         });

std::vector<int32_t> tableWords(int level, int from, int count) {
  const LevelTable& table = levelTables[level];
  return std::vector<int32_t>(table.words + from, table.words + from + count);
}

TEST(LevelOne, OpensWithTheSevenBoxesOfItsHillsAndGround) {
  const std::vector<int32_t> opening = {1520, 624,  1623, 631,  43,   680,  632, 783, 639,
                                        43,   1344, 632,  1703, 639,  43,   552, 640, 847,
                                        647,  43,   1232, 640,  1767, 647,  43,  0,   648,
                                        2399, 655,  43,   0,    656,  2399, 663, 43};
  EXPECT_EQ(tableWords(0, 0, 35), opening);
}

TEST(LevelOne, EndsWithTerminatorBallAndOneFloorTurret) {
  const std::vector<int32_t> ending = {0, 0, 0, 0, 0, 1140, 636, 0, 1000, 632, 1};
  EXPECT_EQ(tableWords(0, 5 * 239, 11), ending);
}

void expectGateStack(int level, int x1, int x2, int y1) {
  buildLevel(level, 1);
  for (int i = 0; i < 4; ++i) {
    const Gate& gate = gates[i];
    ASSERT_NE(gate.boxIndex, 0) << "gate " << i;
    const Box& box = boxes[gate.boxIndex];
    EXPECT_EQ(box.x1, x1);
    EXPECT_EQ(box.x2, x2);
    EXPECT_EQ(gate.fullX2, x2);
    EXPECT_EQ(box.y1, y1 + 8 * i) << "the gate boxes stand directly on top of each other";
    EXPECT_EQ(box.y2, y1 + 8 * i + 7);
  }
}

TEST(LevelGates, LevelThreeShutsItsShaftAt1232To1295By752To783) {
  expectGateStack(2, 1232, 1295, 752);
}

TEST(LevelGates, LevelSevenShutsItsShaftAt408To455By1704To1735) {
  expectGateStack(6, 408, 455, 1704);
}

}  // namespace
