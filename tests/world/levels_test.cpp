// The eight built-in levels (their figures, the layout rules they keep, the
// band repeated at the seam, room for the towed pair from the ball's stand up
// into the sky), and the builder on small tables of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <sstream>
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

// The towed pair: the ship's outline reaches 8.5 pixels from its centre and the
// ball's probe 4 pixels from its own, 20 pixels apart on the rod. It moves and
// turns as one, so its room is a space of positions and rod directions: a
// passage it flies through lined up needs some 20 pixels (the ship's 17 and a
// margin), but a bend needs room to swing the rod round: a square bend between
// passages of 22 pixels lets it through, tucking the ball into the corner, and
// one of 20 does not. The levels keep 32 pixels or more. The check slides the
// pair two pixels or one twenty-fourth of a turn at a time, from the ball on its
// stand with the ship above it until the pair is wholly in the sky, every gate at
// its narrowest and every turret image solid.
constexpr int kCell = 2, kCells = kWorld / kCell, kTurns = 24;
constexpr double kShipReach = 8.5, kBallReach = 5, kRodHalf = 10;

// Distance from each cell to the nearest solid cell (two-pass chamfer), in pixels.
std::vector<float> clearanceOfBuiltLevel() {
  std::vector<float> d(kCells * kCells, 1e9f);
  auto fill = [&d](int x1, int y1, int x2, int y2) {
    for (int cy = std::max(y1, 0) / kCell; cy <= std::min(y2, kWorld - 1) / kCell; ++cy)
      for (int cx = std::max(x1, 0) / kCell; cx <= std::min(x2, kWorld - 1) / kCell; ++cx)
        d[cy * kCells + cx] = 0;
  };
  for (int i = 0; i < lastBox; ++i) {
    const Box& b = boxes[i];
    fill(b.x1, b.y1, b.colour == kGateBoxColour ? b.x1 : b.x2, b.y2);
  }
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& t = turrets[i];
    if (t.kind != 0) fill(t.x, t.y, t.x + 15, t.y + 15);
  }
  auto relax = [&d](int cx, int cy, int dx, int dy) {
    const int nx = cx + dx, ny = cy + dy;
    if (nx < 0 || ny < 0 || nx >= kCells || ny >= kCells) return;
    const float step = (dx && dy ? 1.4142f : 1.0f) * kCell;
    d[cy * kCells + cx] = std::min(d[cy * kCells + cx], d[ny * kCells + nx] + step);
  };
  for (int cy = 0; cy < kCells; ++cy)
    for (int cx = 0; cx < kCells; ++cx)
      relax(cx, cy, -1, 0), relax(cx, cy, 0, -1), relax(cx, cy, -1, -1), relax(cx, cy, 1, -1);
  for (int cy = kCells - 1; cy >= 0; --cy)
    for (int cx = kCells - 1; cx >= 0; --cx)
      relax(cx, cy, 1, 0), relax(cx, cy, 0, 1), relax(cx, cy, 1, 1), relax(cx, cy, -1, 1);
  return d;
}

// Can the pair fly from the ball's stand out into the sky?
bool towedPairGetsOut() {
  const std::vector<float> clearance = clearanceOfBuiltLevel();
  int shipOffset[kTurns][2], ballOffset[kTurns][2];
  for (int k = 0; k < kTurns; ++k) {
    const double a = k * 6.283185307179586 / kTurns;  // the ship at (sin a, -cos a) from the centre
    shipOffset[k][0] = static_cast<int>(std::lround(kRodHalf * std::sin(a) / kCell));
    shipOffset[k][1] = static_cast<int>(std::lround(-kRodHalf * std::cos(a) / kCell));
    ballOffset[k][0] = -shipOffset[k][0], ballOffset[k][1] = -shipOffset[k][1];
  }
  auto roomAt = [&](int cx, int cy, const int* offset, double reach) {
    const int x = cx + offset[0], y = cy + offset[1];
    return x >= 0 && y >= 0 && x < kCells && y < kCells &&
           clearance[y * kCells + x] >= reach + kCell / 2.0;
  };
  std::vector<uint8_t> seen(static_cast<size_t>(kCells) * kCells * kTurns, 0);
  std::vector<int> pending;
  auto visit = [&](int cx, int cy, int k) {
    k = (k + kTurns) % kTurns;
    const size_t index = (static_cast<size_t>(cy) * kCells + cx) * kTurns + k;
    if (cx < 0 || cy < 0 || cx >= kCells || cy >= kCells || seen[index]) return;
    if (!roomAt(cx, cy, shipOffset[k], kShipReach) || !roomAt(cx, cy, ballOffset[k], kBallReach))
      return;
    seen[index] = 1;
    pending.push_back(static_cast<int>(index));
  };
  visit(levelState.ballX / kCell, (levelState.ballY - 10) / kCell, 0);
  while (!pending.empty()) {
    const int index = pending.back();
    pending.pop_back();
    const int k = index % kTurns, cx = index / kTurns % kCells, cy = index / kTurns / kCells;
    if ((cy + std::max(ballOffset[k][1], shipOffset[k][1])) * kCell + kBallReach < 496) return true;
    visit(cx + 1, cy, k), visit(cx - 1, cy, k), visit(cx, cy + 1, k), visit(cx, cy - 1, k);
    visit(cx, cy, k + 1), visit(cx, cy, k - 1);
  }
  return false;
}

TEST(Levels, LetTheTowedPairOutFromTheStandIntoTheSky) {
  for (int level = 0; level < kLevelCount; ++level) {
    buildLevel(level, 1);
    EXPECT_TRUE(towedPairGetsOut()) << "level " << level + 1;
  }
}

// The ball in a room; from the room a shaft `width` pixels wide goes up, either
// straight into the sky or to a tunnel of the same height that leads left, a
// square bend, to a wide shaft up into the sky.
std::vector<int32_t> roomWithShaft(int width, bool bend) {
  const int tunnelTop = 780 - width, shaftEnd = 1000 + width;
  std::vector<int32_t> words = {0,        780,  999,  899,  66,   // left of the shaft
                                shaftEnd, 780,  2399, 899,  66,   // right of the shaft
                                0,        1000, 2399, 2399, 66};  // the room's floor
  if (bend) {
    words.insert(words.end(), {0, 560, 799, 779, 66,                  // the exit's left
                               860, 560, 2399, tunnelTop - 1, 66,     // the tunnel's roof
                               shaftEnd, tunnelTop, 2399, 779, 66});  // its right end
  }
  words.insert(words.end(), {0, 0, 0, 0, 0, 1016, 988, 0, 100, 984, 1});
  return words;
}

TEST(TowedPairRoom, FliesStraightUpA20PixelShaftButTurnsOnlyWhereTheBendIs22) {
  for (int width : {20, 22}) {
    SwappedLevelTable swap(0, roomWithShaft(width, false));
    buildLevel(0, 1);
    EXPECT_TRUE(towedPairGetsOut()) << width;
    SwappedLevelTable bent(0, roomWithShaft(width, true));
    buildLevel(0, 1);
    EXPECT_EQ(towedPairGetsOut(), width == 22) << width;
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
