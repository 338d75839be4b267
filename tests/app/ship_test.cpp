// The ship: steering, falling, climbing, the camera and the world's wrap; its
// outline and the contact test at its six points.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/ship.h"
#include "level_fixture.h"
#include "sound/sound_effects.h"
#include "video/draw.h"
#include "world/ship_outline.h"

namespace {

class Ship : public testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    placeCamera(0, 0);
    levelState.dt = 1.0f;
    levelState.craftColour = 29;
  }
  // At the start, with the camera this far from the view centred on the ship.
  static void placeCamera(int gapX, int gapY) {
    placeShipAtStart();
    levelState.cameraX += gapX;
    levelState.cameraY += gapY;
  }
  // Whether the ship nose up at (100, 100) hits a pixel of the colour at (100 + dx, 100 + dy).
  static bool hitsWith(int dx, int dy, uint8_t colour) {
    clearFrame(0, kScreenHeight);
    levelState.shipDestroyed = 0;
    putPixel(100 + dx, 100 + dy, colour);
    drawShip(100, 100, 3.1415927f);
    return levelState.shipDestroyed == 1;
  }
};

TEST_F(Ship, TurnsFasterWhileTheKeyIsHeldUpToACapThatScalesWithTheTurnSpeed) {
  const std::pair<int, std::vector<float>> cases[] = {
      {30, {0.048f, 0.0696f, 0.0912f, 0.108f, 0.108f}},
      {50, {0.08f, 0.14f, 0.20f, 0.26f, 0.30f, 0.30f}},
      {70, {0.112f, 0.2296f, 0.3472f, 0.4648f, 0.5824f, 0.588f, 0.588f}}};
  controls.turnRight = 1;
  for (const auto& [turnSpeed, steps] : cases) {
    settings.turnSpeed = static_cast<uint8_t>(turnSpeed);
    levelState.spin = 0.4f;
    levelState.angle = 0.5f;
    for (size_t i = 0; i < steps.size(); ++i) {
      const float before = levelState.angle;
      stepShip();
      EXPECT_NEAR(levelState.angle - before, steps[i], 1e-5) << turnSpeed << " " << i;
    }
  }
}

TEST_F(Ship, FallsAtMostAtFourTimesOnePlusDtOverFortyAndClimbsWithTheNoseUp) {
  for (auto [dt, terminal] : {std::pair{0.5f, 4.05}, {1.0f, 4.1}, {2.0f, 4.2}}) {
    placeShipAtStart();
    levelState.dt = dt;
    for (int i = 0; i < 2000; ++i) stepShip();
    EXPECT_NEAR(levelState.velY, terminal, 1e-3) << "dt " << dt;
  }
  placeShipAtStart();
  controls.thrust = 1;
  for (int i = 0; i < 20; ++i) stepShip();
  EXPECT_LT(levelState.posY, 550.0f - 20);
  EXPECT_NEAR(levelState.posX, 1200.0f, 1e-3);
  EXPECT_EQ(shipThrusting, 1);
}

TEST_F(Ship, TheCameraClosesAFifthAndAThirdOfTheGapOutsideItsDeadBand) {
  const std::array<int, 4> cases[] = {
      {4, 2, 4, 2}, {5, 3, 4, 2}, {50, 30, 40, 20}, {-50, 0, -41, 0}};
  for (auto [gapX, gapY, afterX, afterY] : cases) {
    placeCamera(gapX, gapY);
    stepShip();
    EXPECT_EQ(levelState.cameraX, 1040 + afterX) << gapX;
    EXPECT_EQ(levelState.cameraY, 450 + afterY) << gapY;
  }
}

TEST_F(Ship, TheWorldWrapsBy2080WhenTheCameraLeavesColumns0To2080) {
  const std::array<int, 4> cases[] = {{0, 100, 2180, 2068},       // the camera steps 12 left
                                      {2080, 2300, 220, 11},      // 11 right
                                      {2080, 2240, 2240, 2080}};  // none
  for (auto [cameraX, posX, afterX, afterCameraX] : cases) {
    placeCamera(cameraX - 1040, 0);
    levelState.posX = static_cast<float>(posX);
    stepShip();
    EXPECT_FLOAT_EQ(levelState.posX, afterX) << posX;
    EXPECT_EQ(levelState.shipX, afterX) << posX;
    EXPECT_EQ(levelState.cameraX, afterCameraX) << posX;
  }
}

TEST_F(Ship, TheOutlineTurnsWithTheShipToPiZeroAndHalfPi) {
  using Points = std::vector<std::pair<int, int>>;
  const std::pair<float, Points> cases[] = {
      {3.1415927f, {{6, 5}, {3, 7}, {-2, 7}, {-5, 5}, {6, 5}, {0, -8}, {-5, 5}}},
      {0.0f, {{-6, -5}, {-3, -7}, {2, -7}, {5, -5}, {-6, -5}, {0, 8}, {5, -5}}},
      {1.5707964f, {{5, -6}, {7, -3}, {7, 2}, {5, 5}, {5, -6}, {-8, 0}, {5, 5}}}};
  for (const auto& [angle, points] : cases) {
    clearFrame(0, kScreenHeight);
    for (size_t i = 1; i < points.size(); ++i) {
      drawLine(100 + points[i].first, 100 + points[i].second, 100 + points[i - 1].first,
               100 + points[i - 1].second, 29);
    }
    const std::vector<std::string> expected = paintedPixels();
    clearFrame(0, kScreenHeight);
    drawShip(100, 100, angle);
    EXPECT_EQ(paintedPixels(), expected) << angle;
  }
}

TEST_F(Ship, HitsAtItsSixTestPointsBelowRow500AndNeverOnItsOwnColour) {
  levelState.shipY = 600;
  for (auto [dx, dy] : {std::pair{0, -8}, {6, 5}, {3, 7}, {-2, 7}, {-5, 5}})
    EXPECT_TRUE(hitsWith(dx, dy, 66)) << dx << "," << dy;
  EXPECT_FALSE(hitsWith(3, -2, 66)) << "under a side line";
  EXPECT_FALSE(hitsWith(0, -8, 29));
  levelState.craftColour = 20;  // fading while leaving
  EXPECT_FALSE(hitsWith(0, -8, 20));
  EXPECT_TRUE(hitsWith(0, -8, 29));
  levelState.shipY = 500;
  EXPECT_FALSE(hitsWith(0, -8, 66));
  levelState.shipY = 501;
  EXPECT_TRUE(hitsWith(0, -8, 66));
}

}  // namespace
