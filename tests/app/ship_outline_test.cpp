#include "app/ship_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "level_fixture.h"
#include "video/draw.h"
#include "video/frame_buffer.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

constexpr int kCentreX = 100, kCentreY = 100;

// What the outline through these rotated points looks like, drawn line by line.
std::vector<std::string> outlineThrough(const Points& points) {
  clearFrame(0, kScreenHeight);
  for (size_t i = 1; i < points.size(); ++i) {
    drawLine(kCentreX + points[i].first, kCentreY + points[i].second,
             kCentreX + points[i - 1].first, kCentreY + points[i - 1].second, 29);
  }
  std::vector<std::string> painted = paintedPixels();
  clearFrame(0, kScreenHeight);
  return painted;
}

std::vector<std::string> shipAt(float angle) {
  clearFrame(0, kScreenHeight);
  drawShip(kCentreX, kCentreY, angle);
  return paintedPixels();
}

class ShipOutline : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    levelState.craftColour = 29;
    levelState.shipY = 600;
  }
};

TEST_F(ShipOutline, NoseUpAtPi) {
  EXPECT_EQ(shipAt(3.1415927f),
            outlineThrough({{6, 5}, {3, 7}, {-2, 7}, {-5, 5}, {6, 5}, {0, -8}, {-5, 5}}));
}

TEST_F(ShipOutline, NoseDownAtZero) {
  EXPECT_EQ(shipAt(0.0f),
            outlineThrough({{-6, -5}, {-3, -7}, {2, -7}, {5, -5}, {-6, -5}, {0, 8}, {5, -5}}));
}

TEST_F(ShipOutline, NoseLeftAtHalfPi) {
  shipAt(1.5707964f);
  EXPECT_EQ(getPixel(kCentreX - 8, kCentreY), 29);
  EXPECT_EQ(getPixel(kCentreX + 8, kCentreY), 0);
  EXPECT_EQ(getPixel(kCentreX, kCentreY - 8), 0);
}

TEST_F(ShipOutline, IsDrawnInTheCraftColour) {
  levelState.craftColour = 21;
  const std::vector<std::string> painted = shipAt(3.1415927f);
  ASSERT_FALSE(painted.empty());
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const uint8_t colour = getPixel(x, y);
      if (colour != 0) {
        EXPECT_EQ(colour, 21);
      }
    }
  }
}

class ShipContact : public ShipOutline {
 protected:
  bool hitsWith(int dx, int dy, uint8_t colour) {
    clearFrame(0, kScreenHeight);
    levelState.shipDestroyed = 0;
    putPixel(kCentreX + dx, kCentreY + dy, colour);
    drawShip(kCentreX, kCentreY, 3.1415927f);
    return levelState.shipDestroyed == 1;
  }
};

TEST_F(ShipContact, RockUnderTheNoseDestroysTheShip) {
  EXPECT_TRUE(hitsWith(0, -8, 66));
}

TEST_F(ShipContact, EveryCornerIsTested) {
  for (auto [dx, dy] : Points{{6, 5}, {3, 7}, {-2, 7}, {-5, 5}}) {
    EXPECT_TRUE(hitsWith(dx, dy, 66)) << dx << "," << dy;
  }
}

TEST_F(ShipContact, RockUnderTheMiddleOfASideLineIsMissed) {
  EXPECT_FALSE(hitsWith(3, -2, 66));
  EXPECT_FALSE(hitsWith(0, 0, 66));
  EXPECT_EQ(getPixel(kCentreX, kCentreY), 66);  // the outline goes round it
}

TEST_F(ShipContact, NothingHitsAtRow500OrAbove) {
  levelState.shipY = 500;
  EXPECT_FALSE(hitsWith(0, -8, 66));
  levelState.shipY = 501;
  EXPECT_TRUE(hitsWith(0, -8, 66));
}

TEST_F(ShipContact, PixelsOfTheCraftColourNeverCount) {
  EXPECT_FALSE(hitsWith(0, -8, 29));
  levelState.craftColour = 20;  // fading while leaving
  EXPECT_FALSE(hitsWith(0, -8, 20));
  EXPECT_TRUE(hitsWith(0, -8, 29));
}

TEST_F(ShipContact, PointsOutsideTheFrameReadAsEmpty) {
  clearFrame(0, kScreenHeight);
  levelState.shipDestroyed = 0;
  drawShip(3, 4, 3.1415927f);
  EXPECT_EQ(levelState.shipDestroyed, 0);
}

}  // namespace
