#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"
#include "video/draw.h"
#include "video/frame_buffer.h"

namespace {

using Pixels = std::vector<std::string>;

class PrimitivesTest : public ::testing::Test {
 protected:
  void SetUp() override { startHeadlessVideo(); }
};

Pixels sortedPixels(std::vector<std::pair<int, int>> points) {
  std::sort(points.begin(), points.end(), [](auto a, auto b) {
    return a.second != b.second ? a.second < b.second : a.first < b.first;
  });
  Pixels pixels;
  for (auto [x, y] : points) pixels.push_back(std::to_string(x) + "," + std::to_string(y));
  pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
  return pixels;
}

TEST_F(PrimitivesTest, ADegenerateLineIsOnePixel) {
  drawLine(5, 5, 5, 5, 1);
  EXPECT_EQ(paintedPixels(), Pixels{"5,5"});
}

TEST_F(PrimitivesTest, AShallowLineStaysOnItsRowUntilTheOffsetReachesAWholePixel) {
  drawLine(0, 0, 10, 3, 1);
  EXPECT_EQ(paintedPixels(), sortedPixels({{0, 0},
                                           {1, 0},
                                           {2, 0},
                                           {3, 0},
                                           {4, 1},
                                           {5, 1},
                                           {6, 1},
                                           {7, 2},
                                           {8, 2},
                                           {9, 2},
                                           {10, 3}}));
}

TEST_F(PrimitivesTest, TheDiagonalIsDrawnAlongY) {
  drawLine(0, 0, 4, 4, 1);
  EXPECT_EQ(paintedPixels(), sortedPixels({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
}

TEST_F(PrimitivesTest, ALineDrawnBackwardsSetsTheSamePixels) {
  drawLine(10, 3, 0, 0, 1);
  Pixels backwards = paintedPixels();
  startHeadlessVideo();
  drawLine(0, 0, 10, 3, 1);
  EXPECT_EQ(paintedPixels(), backwards);
}

TEST_F(PrimitivesTest, ASinglePrecisionSlopeCanEndTheLineAPixelShort) {
  drawLine(0, 0, 10, 7, 1);
  const int rows[11] = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6};
  std::vector<std::pair<int, int>> expected;
  for (int x = 0; x <= 10; ++x) expected.push_back({x, rows[x]});
  EXPECT_EQ(paintedPixels(), sortedPixels(expected));
}

TEST_F(PrimitivesTest, SteepLinesStepAlongYFromTheUpperEnd) {
  drawLine(3, 10, 0, 0, 1);  // slope 0.3 in x per row, drawn from (0,0)
  std::vector<std::pair<int, int>> expected;
  for (int y = 0; y <= 10; ++y)
    expected.push_back({static_cast<int>(y * static_cast<double>(0.3f)), y});
  EXPECT_EQ(paintedPixels(), sortedPixels(expected));
}

TEST_F(PrimitivesTest, LinesLeavingTheFrameAreClippedByPutPixel) {
  drawLine(-5, 0, 5, 0, 1);
  EXPECT_EQ(paintedPixels().size(), 6u);
}

TEST_F(PrimitivesTest, CircleOfRadiusZeroIsItsCentre) {
  drawCircle(50, 50, 0, 1);
  EXPECT_EQ(paintedPixels(), Pixels{"50,50"});
}

TEST_F(PrimitivesTest, CircleOfRadiusOneIsFourNeighbours) {
  drawCircle(50, 50, 1, 1);
  EXPECT_EQ(paintedPixels(), sortedPixels({{50, 49}, {49, 50}, {51, 50}, {50, 51}}));
}

TEST_F(PrimitivesTest, CircleOfRadiusTenIsAnOutline) {
  drawCircle(100, 100, 10, 1);
  EXPECT_EQ(getPixel(100, 90), 1);
  EXPECT_EQ(getPixel(110, 100), 1);
  EXPECT_EQ(getPixel(100, 110), 1);
  EXPECT_EQ(getPixel(90, 100), 1);
  EXPECT_EQ(getPixel(107, 107), 1);  // the last octant step: i = 7, h = 7
  EXPECT_EQ(getPixel(93, 93), 1);
  for (int y = 93; y <= 107; ++y) {
    for (int x = 93; x <= 107; ++x) {
      if ((x - 100) * (x - 100) + (y - 100) * (y - 100) < 64) {
        ASSERT_EQ(getPixel(x, y), 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(paintedPixels().size(),
            56u);  // 8 points for i = 0..7, axis and diagonal doubles merged
}

TEST_F(PrimitivesTest, SpriteIsClippedPixelByPixel) {
  uint8_t image[256];
  for (int i = 0; i < 256; ++i) image[i] = static_cast<uint8_t>(i);
  drawSprite16(-8, 195, image);
  for (int y = 195; y < 200; ++y) {
    for (int x = 0; x < 8; ++x) ASSERT_EQ(getPixel(x, y), (y - 195) * 16 + x + 8) << x << "," << y;
  }
  EXPECT_EQ(getPixel(8, 195), 0);
}

TEST_F(PrimitivesTest, SpriteZerosOverwriteWithBlack) {
  fillRect(0, 0, 40, 40, 9);
  uint8_t image[256] = {};
  image[17] = 5;
  drawSprite16(10, 10, image);
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(11, 11), 5);
  EXPECT_EQ(getPixel(25, 25), 0);
  EXPECT_EQ(getPixel(26, 26), 9);
}

}  // namespace
