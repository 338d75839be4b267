// The terrain painted into the view, and the overview map at 1/16 scale.
#include <gtest/gtest.h>

#include "app/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/level_data.h"
#include "world/terrain.h"

namespace {

class Terrain : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    lastBox = 0;
    levelState.cameraX = 1000;
    levelState.cameraY = 600;
  }
  static void setBoxes(std::initializer_list<Box> list) {
    lastBox = 0;
    for (const Box& box : list) boxes[lastBox++] = box;
  }
  static int paintedCount(int x1, int y1, int x2, int y2, uint8_t colour) {
    int count = 0;
    for (int y = y1; y <= y2; ++y) {
      for (int x = x1; x <= x2; ++x) count += getPixel(x, y) == colour;
    }
    return count;
  }
};

TEST_F(Terrain, ABoxEndingOnePixelLeftOfTheViewIsNotDrawn) {
  setBoxes({{900, 600, 999, 700, 66}});
  drawTerrain();
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(Terrain, ABoxStartingAtTheViewsLastColumnIsDrawnThere) {
  setBoxes({{1319, 650, 1400, 652, 66}});
  drawTerrain();
  EXPECT_EQ(paintedCount(319, 50, 319, 52, 66), 3);
  EXPECT_EQ(paintedPixels().size(), 3u);
}

TEST_F(Terrain, ABoxOutsideTheViewAboveOrBelowIsNotDrawn) {
  setBoxes({{1000, 400, 1100, 599, 66}, {1000, 800, 1100, 900, 66}});
  drawTerrain();
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(Terrain, AWorldWideBandFillsTheViewEdgeToEdge) {
  setBoxes({{0, 0, 2399, 2399, 43}});
  drawTerrain();
  EXPECT_EQ(paintedCount(0, 0, 319, 199, 43), kFrameBytes);
}

TEST_F(Terrain, AnEmptyLevelDrawsNothing) {
  drawTerrain();
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(Terrain, LaterBoxesPaintOverEarlierOnes) {
  setBoxes({{1000, 600, 1009, 609, 66}, {1005, 600, 1014, 609, 43}});
  drawTerrain();
  EXPECT_EQ(paintedCount(0, 0, 4, 9, 66), 50);
  EXPECT_EQ(paintedCount(5, 0, 14, 9, 43), 100);
}

TEST_F(Terrain, AGateWhoseEdgeFellBelowItsLeftEdgeIsPaintedBetweenThem) {
  setBoxes({{1010, 600, 1005, 607, kGateBoxColour}});
  drawTerrain();
  EXPECT_EQ(paintedCount(5, 0, 10, 7, kGateBoxColour), 48);
  EXPECT_EQ(paintedPixels().size(), 48u);
}

TEST_F(Terrain, TheMapIsAFramedBlackWindowWhenTheLevelIsEmpty) {
  clearFrame(9, kScreenHeight);
  drawMap();
  EXPECT_EQ(paintedCount(249, 4, 311, 46, 3), 63 * 43 - 61 * 41);
  EXPECT_EQ(paintedCount(250, 5, 310, 45, 0), 61 * 41);
  EXPECT_EQ(getPixel(248, 4), 9);
  EXPECT_EQ(getPixel(312, 46), 9);
}

// The map columns covered by a box that is exactly the view.
std::pair<int, int> mapColumnsOfTheView() {
  const int x = levelState.cameraX, y = levelState.cameraY;
  lastBox = 1;
  boxes[0] = Box{x, y, x + 319, y + 199, 66};
  clearFrame(0, kScreenHeight);
  drawMap();
  int first = -1, last = -1;
  for (int column = 0; column < 61; ++column) {
    if (getPixel(250 + column, 5 + 20) == 66) {
      if (first < 0) first = column;
      last = column;
    }
  }
  return {first, last};
}

TEST_F(Terrain, TheMapShowsTheViewInColumnsZeroTo20AtTheWorldsWestEdge) {
  levelState.cameraX = 0;
  EXPECT_EQ(mapColumnsOfTheView(), std::make_pair(0, 20));
}

TEST_F(Terrain, TheMapShowsTheViewInColumns41To60AtTheWorldsEastEdge) {
  levelState.cameraX = 2080;
  EXPECT_EQ(mapColumnsOfTheView(), std::make_pair(41, 60));
}

TEST_F(Terrain, TheMapCentresTheViewInColumns20To39InMidWorld) {
  levelState.cameraX = 1000;
  EXPECT_EQ(mapColumnsOfTheView(), std::make_pair(20, 39));
}

TEST_F(Terrain, ABoxReachingAboveTheMapWindowIsDrawnFromItsTopRow) {
  setBoxes({{1000, 100, 1031, 400, 66}});  // my1 = (100 - 600) / 16 + 20 = -11, my2 = 8
  drawMap();
  EXPECT_EQ(getPixel(270, 5), 66);
  EXPECT_EQ(getPixel(270, 5 + 8), 66);
  EXPECT_EQ(getPixel(270, 5 + 9), 0);
  EXPECT_EQ(getPixel(270, 4), 3) << "the frame stays";
}

TEST_F(Terrain, TheMapSkipsBoxesWhollyOutsideItsWindow) {
  setBoxes({{0, 600, 300, 607, 66}, {2200, 600, 2399, 607, 66}, {1000, 1400, 1100, 1500, 66}});
  drawMap();
  EXPECT_EQ(paintedCount(250, 5, 310, 45, 66), 0);
}

TEST_F(Terrain, TheMapsRowsReach335PixelsAboveAndBelowTheReferenceRow) {
  // cameraY 600: world rows 265..935 fall into map rows 0..40.
  setBoxes({{1000, 935, 1015, 950, 66},
            {1016, 936, 1031, 950, 43},
            {1032, 250, 1047, 265, 66},
            {1048, 250, 1063, 264, 43}});
  drawMap();
  EXPECT_EQ(getPixel(270, 45), 66);
  EXPECT_EQ(getPixel(271, 45), 0);
  EXPECT_EQ(getPixel(272, 5), 66);
  EXPECT_EQ(getPixel(273, 5), 0);
}

}  // namespace
