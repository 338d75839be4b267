// The ball: the tag, the rod taking hold, towing, the probe, its explosion,
// and its flight after the ship's loss.
#include "app/ball.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "app/level_loop.h"
#include "app/ship.h"
#include "level_fixture.h"
#include "world/particles.h"

namespace {

constexpr int kBallX = 1140, kBallY = 636;  // on its stand, at screen (140, 136)

class BallTest : public testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    resetDebris();
    levelState.ballX = kBallX;
    levelState.ballY = kBallY;
    levelState.cameraX = 1000;
    levelState.cameraY = 500;
    levelState.dt = 0.5f;
    placeBallOnStand();
  }
  static void shipAt(int dx, int dy) {
    levelState.posX = static_cast<float>(levelState.shipX = kBallX + dx);
    levelState.posY = static_cast<float>(levelState.shipY = kBallY + dy);
  }
  // Tagged from 15 pixels above, then the line drawn with the ship at (dx, dy).
  static void tagThenMoveTo(int dx, int dy) {
    shipAt(0, -15);
    controls.tag = 1;
    tagBall();
    controls.tag = 0;
    shipAt(dx, dy);
    drawBall();
  }
  // Towing from straight above the ball, at rest.
  static void towFromAbove() {
    tagThenMoveTo(0, -21);
    ASSERT_EQ(levelState.ballTowed, 1);
    levelState.velX = levelState.velY = 0;
  }
};

TEST_F(BallTest, OnItsStandItIsDrawnWhereverItIsWhollyInView) {
  for (auto [x, y, drawn] : {std::tuple{11, 100, true},
                             {309, 100, true},
                             {100, 11, true},
                             {100, 189, true},
                             {10, 100, false},
                             {310, 100, false},
                             {100, 10, false},
                             {100, 190, false}}) {
    clearFrame(0, kScreenHeight);
    levelState.cameraX = kBallX - x;
    levelState.cameraY = kBallY - y;
    drawBall();
    EXPECT_EQ(paintedPixels().size() > 20, drawn) << x << "," << y;
    EXPECT_EQ(getPixel(x + 3, y) != 0, drawn) << "the ball, " << x << "," << y;
  }
}

TEST_F(BallTest, ASquaredDistanceOf400NeitherTagsNorHolds) {
  controls.tag = 1;
  shipAt(12, -16);  // 144 + 256
  tagBall();
  EXPECT_EQ(ball.tagging, 0);
  shipAt(12, -15);
  tagBall();
  EXPECT_EQ(ball.tagging, 1);
  shipAt(12, -16);
  drawBall();
  EXPECT_EQ(levelState.ballTowed, 0);
  EXPECT_EQ(getPixel(151, 122), 25) << "the tagging line";
  shipAt(12, -17);
  drawBall();
  EXPECT_EQ(levelState.ballTowed, 1);
}

TEST_F(BallTest, TheRodTakesHoldAtTheAngleOfTheShipAboveBelowOrLevelWithTheBall) {
  // Level counts as one row below.
  for (auto [dx, dy, angle] : {std::tuple{0, -21, 0.0}, {0, 21, -3.1415927}, {21, 0, -4.664806}}) {
    SetUp();
    levelState.velX = 1.0f;
    levelState.velY = -3.0f;
    tagThenMoveTo(dx, dy);
    EXPECT_NEAR(ball.rodAngle, angle, 1e-6) << dx << "," << dy;
    EXPECT_NEAR(std::hypot(levelState.posX - kBallX, levelState.posY - kBallY), 11, 0.05)
        << "the flight point at the rod's centre";
    EXPECT_FLOAT_EQ(levelState.velX, 0.5f);
    EXPECT_FLOAT_EQ(levelState.velY, -1.5f);
  }
}

TEST_F(BallTest, TheProbeFindsRockFourPixelsAwayBelowRow500AndTheBurstLeavesTheShipFlyingOn) {
  towFromAbove();
  levelState.velX = 1.5f;
  levelState.flightX = 1100;
  ball.rodSin = 0;
  ball.rodCos = 1;  // the ball 10 rows below the flight point
  fillRect(0, 0, 319, 199, 66);
  for (auto [flightY, destroyed] : {std::pair{490, 0}, {491, 1}}) {  // the ball at row 500, 501
    levelState.flightY = flightY;
    placeTowedBall();
    EXPECT_EQ(levelState.ballDestroyed, destroyed) << flightY;
  }
  levelState.ballDestroyed = 0;
  clearFrame(0, kScreenHeight);
  levelState.flightY = 600;  // the ball at screen (100, 110)
  putPixel(105, 110, 66);
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 0) << "five pixels right";
  putPixel(100, 114, 66);
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 1) << "four below";
  explodeBall();
  EXPECT_FLOAT_EQ(levelState.posY, kBallY - 21) << "the ship's own place, off the rod's centre";
  EXPECT_FLOAT_EQ(levelState.velX, 1.5f);
  EXPECT_EQ(levelState.ballTowed, 0);
  int live = 0;
  for (const Particle& particle : debris) live += particle.life > 0;
  EXPECT_EQ(live, 101);
}

TEST_F(BallTest, AfterTheShipsLossATowedBallFliesOnTillItHitsRockAndOneOnItsStandStays) {
  useBoxes({Box{0, 700, 2399, 760, 66}});
  useScript("wait 400");
  startLevel();
  towFromAbove();
  levelState.velX = 0.8f;
  levelState.cameraX = static_cast<int>(levelState.posX) - 160;  // the view on the pair
  levelState.cameraY = static_cast<int>(levelState.posY) - 100;
  runLevelFrame();
  const int ballX = levelState.ballX;
  levelState.shipDestroyed = 1;  // as a shot would
  for (int frame = 0; frame < 300 && !levelState.ballDestroyed; ++frame) runLevelFrame();
  EXPECT_EQ(levelState.ballDestroyed, 1);
  EXPECT_GT(levelState.ballX, ballX + 5);
  EXPECT_GE(levelState.ballY + 4, 700);
  EXPECT_EQ(levelState.ballX, static_cast<int>(ball.freeX + 0.5f)) << "rounded to the nearest";

  SetUp();
  useScript("wait 400");
  startLevel();
  levelState.shipDestroyed = 1;
  for (int i = 0; i < 50; ++i) runLevelFrame();
  EXPECT_EQ(levelState.ballX, kBallX);
  EXPECT_EQ(levelState.ballY, kBallY);
  EXPECT_EQ(levelState.ballDestroyed, 0);
}

}  // namespace
