// The eight built-in levels (their figures, the layout rules they keep, the
// band repeated at the seam, a passage 32 pixels wide from the ship's start to
// the ball and up into the sky), and the builder on small tables of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "app/level_state.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

constexpr int kWorld = 2400;

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

// Boxes, gate boxes, the ball's x and y, floor and ceiling turrets, integers in the table; and
// how many boxes have each colour.
const std::pair<std::vector<int>, std::map<int, int>> kFigures[kLevelCount] = {
    {{239, 0, 1140, 636, 1, 0, 1206}, {{43, 19}, {66, 220}}},
    {{255, 0, 1148, 908, 2, 2, 1295}, {{32, 175}, {54, 45}, {55, 35}}},
    {{269, 4, 1212, 892, 4, 1, 1368}, {{14, 4}, {41, 263}, {54, 2}}},
    {{102, 0, 844, 844, 4, 1, 533}, {{25, 4}, {26, 22}, {27, 24}, {28, 52}}},
    {{101, 0, 1076, 996, 3, 2, 528}, {{121, 101}}},
    {{183, 0, 884, 1196, 6, 0, 941}, {{40, 2}, {114, 181}}},
    {{575, 4, 1724, 1388, 24, 6, 2973},
     {{2, 109}, {14, 4}, {35, 116}, {40, 117}, {44, 111}, {54, 118}}},
    {{420, 0, 740, 1484, 12, 4, 2156}, {{32, 22}, {56, 82}, {79, 316}}},
};

// A box whose top (or bottom) edge is `row` and that spans columns x1..x2.
bool boxEdgeAlong(int row, bool top, int x1, int x2) {
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    if ((top ? b.y1 : b.y2 + 1) == row && b.x1 <= x1 && x2 <= b.x2) return true;
  }
  return false;
}

TEST(Levels, HoldTheirFiguresAndKeepTheLayoutRules) {
  int notBands = 0;
  for (int level = 0; level < kLevelCount; ++level) {
    SCOPED_TRACE(testing::Message() << "level " << level + 1);
    buildLevel(level, 1);
    std::map<int, int> colours;
    int gateBoxes = 0, floor = 0, ceiling = 0, top = kWorld, bottom = 0;
    for (const Gate& gate : gates) gateBoxes += gate.boxIndex != 0;
    for (int i = 0; i < lastBox; ++i) {
      const Box& b = boxes[i];
      ++colours[b.colour];
      EXPECT_TRUE(b.x1 % 8 == 0 && b.y1 % 8 == 0 && (b.x2 + 1) % 8 == 0 && (b.y2 + 1) % 8 == 0 &&
                  0 <= b.x1 && b.x1 <= b.x2 && b.x2 < kWorld && b.y1 <= b.y2)
          << "box " << i << " off the grid or the world";
      const int dx = std::max({b.x1 - 1200, 0, 1200 - b.x2}),
                dy = std::max({b.y1 - 550, 0, 550 - b.y2});
      EXPECT_GE(dx * dx + dy * dy, 90 * 90) << "box " << i << " near the ship's start";
      top = std::min(top, b.y1), bottom = std::max(bottom, b.y2);
      notBands += b.y2 - b.y1 != 7;
    }
    for (int i = 0; i <= lastTurret; ++i) {
      const Turret& t = turrets[i];
      const bool onFloor = t.kind == kFloorTurret;
      floor += onFloor, ceiling += t.kind == kCeilingTurret;
      EXPECT_TRUE(boxEdgeAlong(onFloor ? t.y + 16 : t.y, onFloor, t.x, t.x + 15)) << "turret " << i;
    }
    const int ballX = levelState.ballX, ballY = levelState.ballY;
    EXPECT_EQ((std::vector<int>{lastBox, gateBoxes, ballX, ballY, floor, ceiling,
                                levelTables[level].count}),
              kFigures[level].first);
    EXPECT_EQ(colours, kFigures[level].second);
    EXPECT_EQ(lastTurret + 1, floor + ceiling);
    EXPECT_TRUE(top >= 496 && top <= 648) << top;
    EXPECT_EQ(bottom, kWorld - 1);
    EXPECT_TRUE(boxEdgeAlong(ballY + 12, true, ballX - 6, ballX + 6)) << "the ball's stand";
  }
  EXPECT_LE(notBands, 5);
}

TEST(Levels, LevelOneOpensWithItsSevenBoxesAndEndsWithItsOneTurret) {
  const int32_t* words = levelTables[0].words;
  EXPECT_EQ(std::vector<int32_t>(words, words + 35),
            (std::vector<int32_t>{1520, 624, 1623, 631,  43,  680, 632, 783, 639,  43,  1344, 632,
                                  1703, 639, 43,   552,  640, 847, 647, 43,  1232, 640, 1767, 647,
                                  43,   0,   648,  2399, 655, 43,  0,   656, 2399, 663, 43}));
  EXPECT_EQ(std::vector<int32_t>(words + 5 * 239, words + 5 * 239 + 11),
            (std::vector<int32_t>{0, 0, 0, 0, 0, 1140, 636, 0, 1000, 632, 1}));
}

TEST(Levels, ThreeAndSevenShutAShaftWithFourStackedGates) {
  for (auto [level, x1, x2, y1] : {std::array{2, 1232, 1295, 752}, {6, 408, 455, 1704}}) {
    buildLevel(level, 1);
    for (int i = 0; i < 4; ++i) {
      const Box& box = boxes[gates[i].boxIndex];
      EXPECT_EQ((std::vector<int>{box.x1, box.y1, box.x2, box.y2, gates[i].fullX2}),
                (std::vector<int>{x1, y1 + 8 * i, x2, y1 + 8 * i + 7, x2}))
          << "level " << level + 1 << " gate " << i;
    }
  }
}

// Columns 0..319 against 2080..2399, cell by cell (8x8): where the rock differs (in levels 4, 5
// and 6, the colour). Levels 3, 7 and 8 differ in x 0..23 of row 640, in a pocket at x 192..319,
// y 1232..1351, and in x 0..7 of y 1072..1767.
TEST(Levels, RepeatTheirWesternBandAtTheSeamWithOnlyTheirOwnDifferences) {
  const char* expected[kLevelCount] = {
      "", "", "3: rows 80-80, columns 0-2",       "",
      "", "", "240: rows 154-168, columns 24-39", "87: rows 134-220, columns 0-0"};
  constexpr int kCells = kWorld / 8;
  for (int level = 0; level < kLevelCount; ++level) {
    buildLevel(level, 1);
    std::vector<int> cell(kCells * kCells, 0);
    for (int i = 0; i < lastBox; ++i) {
      const Box& b = boxes[i];
      for (int row = b.y1 / 8; row <= b.y2 / 8; ++row)
        for (int column = b.x1 / 8; column <= b.x2 / 8; ++column)
          cell[row * kCells + column] = b.colour;
    }
    int count = 0, row1 = kCells, row2 = 0, column1 = kCells, column2 = 0;
    for (int row = 0; row < kCells; ++row) {
      for (int column = 0; column < 40; ++column) {
        const int west = cell[row * kCells + column], east = cell[row * kCells + column + 260];
        if (level >= 3 && level <= 5 ? west == east : (west == 0) == (east == 0)) continue;
        ++count, row1 = std::min(row1, row), row2 = std::max(row2, row);
        column1 = std::min(column1, column), column2 = std::max(column2, column);
      }
    }
    std::ostringstream found;
    if (count)
      found << count << ": rows " << row1 << "-" << row2 << ", columns " << column1 << "-"
            << column2;
    EXPECT_EQ(found.str(), expected[level]) << "level " << level + 1;
  }
}

struct PathCheck {
  bool ball = false;  // a square came within 20 pixels of the ball
  bool sky = false;   // one got wholly above row 496
};

// Slides a 32x32 square pixel by pixel from the ship's start through the built level, with
// every gate at its narrowest (its left column) and every turret image solid. Reachability
// goes both ways, so one search from the start also tells whether the ball can go up.
PathCheck findWidePath() {
  constexpr int kSide = 32, kRow = kWorld + 1;
  // sum[y * kRow + x]: solid pixels in columns 0..x-1 of rows 0..y-1.
  std::vector<int> sum(kRow * kRow, 0);
  auto fill = [&sum](int x1, int y1, int x2, int y2) {
    for (int y = std::max(y1, 0); y <= std::min(y2, kWorld - 1); ++y)
      for (int x = std::max(x1, 0); x <= std::min(x2, kWorld - 1); ++x)
        sum[(y + 1) * kRow + x + 1] = 1;
  };
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    fill(b.x1, b.y1, b.colour == kGateBoxColour ? b.x1 : b.x2, b.y2);
  }
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& t = turrets[i];
    if (t.kind != 0) fill(t.x, t.y, t.x + 15, t.y + 15);
  }
  for (int y = 1; y < kRow; ++y)
    for (int x = 1; x < kRow; ++x)
      sum[y * kRow + x] +=
          sum[(y - 1) * kRow + x] + sum[y * kRow + x - 1] - sum[(y - 1) * kRow + x - 1];
  auto isFree = [&sum](int x, int y) {
    const int* top = &sum[y * kRow + x];
    const int* bottom = top + kSide * kRow;
    return bottom[kSide] - bottom[0] - top[kSide] + top[0] == 0;
  };
  constexpr int kSpan = kWorld - kSide + 1;
  std::vector<uint8_t> seen(kSpan * kSpan, 0);
  std::vector<int> pending;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= kSpan || y >= kSpan || seen[y * kSpan + x] || !isFree(x, y)) return;
    seen[y * kSpan + x] = 1;
    pending.push_back(y * kSpan + x);
  };
  visit(1200 - kSide / 2, 550 - kSide / 2);
  PathCheck found;
  while (!pending.empty()) {
    const int x = pending.back() % kSpan, y = pending.back() / kSpan;
    pending.pop_back();
    const int dx = x + kSide / 2 - levelState.ballX, dy = y + kSide / 2 - levelState.ballY;
    found.ball |= dx * dx + dy * dy < 400;
    found.sky |= y + kSide - 1 < 496;
    visit(x + 1, y), visit(x - 1, y), visit(x, y + 1), visit(x, y - 1);
  }
  return found;
}

TEST(Levels, LeadAWidePathFromTheStartToTheBallAndUpIntoTheSky) {
  for (int level = 0; level < kLevelCount; ++level) {
    buildLevel(level, 1);
    const PathCheck path = findWidePath();
    EXPECT_TRUE(path.ball && path.sky) << "level " << level + 1;
  }
}

TEST(WidePath, PassesAHoleOf32PixelsButNotOf31) {
  for (int width : {32, 31}) {
    // The ball lies in a room under a floor at row 800 that has a hole at column 1000.
    SwappedLevelTable swap(
        0, {0, 800, 999, 807, 66, 1000 + width, 800, 2399, 807, 66,  0, 900, 2399, 2399, 66,
            0, 0,   0,   0,   0,  1000,         888, 0,    100, 884, 1});
    buildLevel(0, 1);
    EXPECT_EQ(findWidePath().ball, width == 32) << width;
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

}  // namespace
