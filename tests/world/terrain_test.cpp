// The terrain painted into the view, and the overview map at 1/16 scale.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "state/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/level_data.h"
#include "world/terrain.h"

namespace {

class Terrain : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState.cameraX = 1000;
    levelState.cameraY = 600;
  }
  static void useBoxes(std::initializer_list<Box> list) {
    lastBox = 0;
    for (const Box& box : list) boxes[lastBox++] = box;
  }
  static int count(int x1, int y1, int x2, int y2, uint8_t colour) {
    int found = 0;
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x) found += getPixel(x, y) == colour;
    return found;
  }
};

TEST_F(Terrain, PaintsEachBoxClippedToTheView) {
  const struct {
    Box box;
    int x1, y1, x2, y2;  // where it shows; nowhere when x2 < x1
  } cases[] = {
      {{900, 600, 999, 700, 66}, 0, 0, -1, 0},                // ends one column left of the view
      {{1319, 650, 1400, 652, 66}, 319, 50, 319, 52},         // starts in its last column
      {{1000, 400, 1100, 599, 66}, 0, 0, -1, 0},              // ends one row above
      {{1000, 800, 1100, 900, 66}, 0, 0, -1, 0},              // starts one row below
      {{0, 0, 2399, 2399, 43}, 0, 0, 319, 199},               // the whole world
      {{1010, 600, 1005, 607, kGateBoxColour}, 5, 0, 10, 7},  // a gate's edge past its left edge
  };
  for (const auto& c : cases) {
    clearFrame(0, kScreenHeight);
    useBoxes({c.box});
    drawTerrain();
    const int area = c.x2 < c.x1 ? 0 : (c.x2 - c.x1 + 1) * (c.y2 - c.y1 + 1);
    EXPECT_EQ(paintedPixels().size(), static_cast<size_t>(area)) << c.box.x1 << "," << c.box.y1;
    EXPECT_EQ(area > 0 ? count(c.x1, c.y1, c.x2, c.y2, c.box.colour) : 0, area);
  }
  clearFrame(0, kScreenHeight);
  useBoxes({});
  drawTerrain();
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(Terrain, TheMapShowsTheViewInItsColumnsAtBothEndsOfTheWorld) {
  for (auto [cameraX, first, last] : {std::array{0, 0, 20}, {1000, 20, 39}, {2080, 41, 60}}) {
    levelState.cameraX = cameraX;
    useBoxes({{cameraX, 600, cameraX + 319, 799, 66}});  // the view itself
    drawMap();
    std::vector<int> columns;
    for (int column = 0; column < 61; ++column)
      if (getPixel(250 + column, 25) == 66) columns.push_back(column);
    ASSERT_FALSE(columns.empty()) << cameraX;
    EXPECT_EQ(columns.front(), first) << cameraX;
    EXPECT_EQ(columns.back(), last) << cameraX;
  }
}

TEST_F(Terrain, TheMapIsAFramedWindowOf335RowsAboveAndBelowTheView) {
  clearFrame(9, kScreenHeight);
  useBoxes({{1000, 100, 1031, 400, 66},    // reaches above the window: map rows 0..8
            {1032, 935, 1047, 950, 66},    // its top row is the window's last
            {1048, 936, 1063, 950, 43},    // below the window
            {1064, 250, 1079, 264, 43},    // above it
            {0, 600, 300, 607, 43},        // left of it
            {2200, 600, 2399, 607, 43}});  // right of it
  drawMap();
  EXPECT_EQ(count(250, 5, 310, 45, 66), 2 * 9 + 1);
  EXPECT_EQ(getPixel(271, 13), 66);
  EXPECT_EQ(getPixel(272, 45), 66);
  EXPECT_EQ(count(250, 5, 310, 45, 0), 61 * 41 - 19) << "the rest of the window is black";
  EXPECT_EQ(count(249, 4, 311, 46, 3), 63 * 43 - 61 * 41) << "in a frame of colour 3";
  EXPECT_EQ(count(0, 0, 319, 199, 9), 64000 - 63 * 43) << "that leaves the rest alone";
}

}  // namespace
