// The built-in levels keep the layout rules: the 8-pixel grid, the free sky and
// start, turrets and ball resting on rock, and the repeated band at the seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "app/level_state.h"
#include "level_support.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

class LevelLayout : public testing::TestWithParam<int> {
 protected:
  void SetUp() override { buildLevel(GetParam(), 1); }
};

TEST_P(LevelLayout, LaysEveryBoxOnTheEightPixelGridInsideTheWorld) {
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    SCOPED_TRACE(testing::Message() << "box " << i);
    EXPECT_EQ(b.x1 % 8, 0);
    EXPECT_EQ(b.y1 % 8, 0);
    EXPECT_EQ((b.x2 + 1) % 8, 0);
    EXPECT_EQ((b.y2 + 1) % 8, 0);
    EXPECT_LE(b.x1, b.x2);
    EXPECT_LE(b.y1, b.y2);
    EXPECT_GE(b.x1, 0);
    EXPECT_LE(b.x2, 2399);
  }
}

TEST_P(LevelLayout, LeavesTheSkyFreeAndReachesTheBottom) {
  int top = 2400, bottom = -1;
  for (int i = 0; i < lastBox; ++i) {
    top = std::min(top, boxes[i].y1);
    bottom = std::max(bottom, boxes[i].y2);
  }
  EXPECT_GE(top, 496);
  EXPECT_LE(top, 648) << "the uppermost boxes lie between rows 496 and 648";
  EXPECT_EQ(bottom, 2399);
}

TEST_P(LevelLayout, KeepsNinetyPixelsAroundTheShipsStart) {
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    const int dx = std::max({b.x1 - 1200, 0, 1200 - b.x2});
    const int dy = std::max({b.y1 - 550, 0, 550 - b.y2});
    EXPECT_GE(dx * dx + dy * dy, 90 * 90) << "box " << i;
  }
}

bool overlapsRock(int x1, int y1, int x2, int y2) {
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    if (b.x1 <= x2 && x1 <= b.x2 && b.y1 <= y2 && y1 <= b.y2) return true;
  }
  return false;
}

// A box whose edge row is `row` (top edge if `top`) and that spans columns x1..x2.
bool boxAlong(int row, bool top, int x1, int x2) {
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    if ((top ? b.y1 : b.y2 + 1) == row && b.x1 <= x1 && x2 <= b.x2) return true;
  }
  return false;
}

TEST_P(LevelLayout, StandsFloorTurretsOnABoxAndHangsCeilingTurretsUnderOne) {
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& t = turrets[i];
    SCOPED_TRACE(testing::Message() << "turret at " << t.x << "," << t.y);
    if (t.kind == kFloorTurret) {
      EXPECT_TRUE(boxAlong(t.y + 16, true, t.x, t.x + 15));
    }
    if (t.kind == kCeilingTurret) {
      EXPECT_TRUE(boxAlong(t.y, false, t.x, t.x + 15));
    }
    EXPECT_FALSE(overlapsRock(t.x, t.y, t.x + 15, t.y + 15)) << "the image lies in free space";
    EXPECT_TRUE(t.x >= 336 && t.x + 15 < 2064) << "no turret in the band that repeats at the seam";
  }
}

TEST_P(LevelLayout, RestsTheBallTwelvePixelsAboveTheTopOfABox) {
  const int x = levelState.ballX, y = levelState.ballY;
  EXPECT_TRUE(boxAlong(y + 12, true, x - 6, x + 6)) << "the stand's feet reach x - 6 and x + 6";
  EXPECT_FALSE(overlapsRock(x - 6, y - 3, x + 6, y + 11));
}

// Cells of columns 0..39 whose rock or freedom differs from the same cell 2080 pixels east.
std::set<std::pair<int, int>> seamDifferences(const CellGrid& grid, bool colours) {
  std::set<std::pair<int, int>> cells;  // (row, column)
  for (int row = 0; row < kWorldCells; ++row) {
    for (int column = 0; column < 40; ++column) {
      const int west = grid.at(column, row), east = grid.at(column + 260, row);
      if (colours ? west != east : (west == 0) != (east == 0)) cells.insert({row, column});
    }
  }
  return cells;
}

std::set<std::pair<int, int>> cellsIn(int row1, int row2, int column1, int column2) {
  std::set<std::pair<int, int>> cells;
  for (int row = row1; row <= row2; ++row) {
    for (int column = column1; column <= column2; ++column) cells.insert({row, column});
  }
  return cells;
}

TEST(LevelSeam, LevelsFourFiveAndSixRepeatTheirWesternBandExactly) {
  for (int level : {3, 4, 5}) {
    buildLevel(level, 1);
    EXPECT_TRUE(seamDifferences(paintCells(), true).empty()) << "level " << level + 1;
  }
}

TEST(LevelSeam, LevelsOneAndTwoRepeatEveryRockCell) {
  for (int level : {0, 1}) {
    buildLevel(level, 1);
    EXPECT_TRUE(seamDifferences(paintCells(), false).empty()) << "level " << level + 1;
  }
}

TEST(LevelSeam, LevelThreeDiffersInThreeCellsOfRow640) {
  buildLevel(2, 1);
  EXPECT_EQ(seamDifferences(paintCells(), false), cellsIn(80, 80, 0, 2));
}

TEST(LevelSeam, LevelSevenDiffersOnlyInItsPocket) {
  buildLevel(6, 1);
  const auto differences = seamDifferences(paintCells(), false);
  ASSERT_FALSE(differences.empty());
  const auto pocket = cellsIn(154, 168, 24, 39);  // rows 1232..1351, columns 192..319
  for (const auto& cell : differences)
    EXPECT_TRUE(pocket.count(cell)) << cell.first << "," << cell.second;
  EXPECT_EQ(differences.begin()->first, 154);
  EXPECT_EQ(differences.rbegin()->first, 168);
}

TEST(LevelSeam, LevelEightDiffersInItsFirstColumnFromRow1072To1767) {
  buildLevel(7, 1);
  EXPECT_EQ(seamDifferences(paintCells(), false), cellsIn(134, 220, 0, 0));
}

TEST(LevelBands, AllButAtMostFiveBoxesOfTheEightLevelsAreEightPixelBands) {
  int others = 0;
  for (int level = 0; level < kLevelCount; ++level) {
    buildLevel(level, 1);
    for (int i = 0; i < lastBox; ++i) others += boxes[i].y2 - boxes[i].y1 != 7;
  }
  EXPECT_LE(others, 5);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelLayout, testing::Range(0, kLevelCount),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param + 1);
                         });

}  // namespace
