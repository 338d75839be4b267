#include "app/ball.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/level_loop.h"
#include "app/ship.h"
#include "level_fixture.h"
#include "video/frame_buffer.h"
#include "world/particles.h"

namespace {

constexpr int kBallX = 1140, kBallY = 636;

class BallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    resetDebris();
    levelState.ballX = kBallX;
    levelState.ballY = kBallY;
    levelState.cameraX = 1000;
    levelState.cameraY = 500;
    levelState.craftColour = 29;
    levelState.dt = 0.5f;
    placeBallOnStand();
  }

  void shipAt(int dx, int dy) {
    levelState.shipX = kBallX + dx;
    levelState.shipY = kBallY + dy;
    levelState.posX = static_cast<float>(levelState.shipX);
    levelState.posY = static_cast<float>(levelState.shipY);
  }

  // The tag made at (tagX, tagY), then the ship at (dx, dy) when the line is drawn.
  void tagThenMoveTo(int dx, int dy) {
    shipAt(0, -15);
    controls.tag = 1;
    tagBall();
    controls.tag = 0;
    ASSERT_EQ(ball.tagging, 1);
    shipAt(dx, dy);
    drawBall();
  }

  // Towing with the ship straight above the ball, at rest.
  void towFromAbove() {
    tagThenMoveTo(0, -21);
    ASSERT_EQ(levelState.ballTowed, 1);
    levelState.velX = levelState.velY = 0;
  }
};

TEST_F(BallTest, SpaceWithinTwentyPixelsTagsButASquaredDistanceOf400DoesNot) {
  controls.tag = 1;
  shipAt(12, -16);  // 144 + 256 = 400
  tagBall();
  EXPECT_EQ(ball.tagging, 0);
  shipAt(12, -15);
  tagBall();
  EXPECT_EQ(ball.tagging, 1);
}

TEST_F(BallTest, NoTagWithoutSpace) {
  shipAt(0, -10);
  tagBall();
  EXPECT_EQ(ball.tagging, 0);
}

TEST_F(BallTest, TheRodTakesHoldOnlyBeyondTwentyPixelsWhetherSpaceIsHeldOrNot) {
  tagThenMoveTo(12, -16);  // exactly 400: the line shows, no hold yet
  EXPECT_EQ(ball.tagging, 1);
  EXPECT_EQ(levelState.ballTowed, 0);
  EXPECT_EQ(getPixel(kBallX + 12 - 1000 - 1, kBallY - 16 - 500 + 2), 25);  // the tagging line
  shipAt(12, -17);
  drawBall();
  EXPECT_EQ(ball.tagging, 0);
  EXPECT_EQ(ball.ballOnStand, 0);
  EXPECT_EQ(levelState.ballTowed, 1);
}

TEST_F(BallTest, TakingHoldMovesTheFlightPointToTheRodsCentreAndHalvesTheSpeed) {
  tagThenMoveTo(0, -15);
  levelState.velX = 1.0f;
  levelState.velY = -3.0f;
  shipAt(0, -21);
  drawBall();
  EXPECT_EQ(ball.rodAngle, 0.0f);  // straight above
  EXPECT_NEAR(levelState.posY, kBallY - 21 + 10, 1e-4);
  EXPECT_NEAR(levelState.posX, kBallX, 1e-4);
  EXPECT_FLOAT_EQ(levelState.velX, 0.5f);
  EXPECT_FLOAT_EQ(levelState.velY, -1.5f);
}

TEST_F(BallTest, AShipBelowTheBallGivesMinusPiWhichTheRodStepBringsToPi) {
  tagThenMoveTo(0, 21);
  EXPECT_FLOAT_EQ(ball.rodAngle, static_cast<float>(-3.141592653589793));
  levelState.shipX = levelState.flightX = 0;
  stepRod();
  EXPECT_NEAR(ball.rodAngle, 3.14159265, 1e-6);
}

TEST_F(BallTest, AShipLevelWithTheBallCountsAsOneRowBelow) {
  tagThenMoveTo(21, 0);
  EXPECT_FLOAT_EQ(ball.rodAngle, static_cast<float>(-std::atan(21.0) - 3.141592653589793));
  // The ship lies to the right of the centre.
  EXPECT_NEAR(std::sin(ball.rodAngle), 1.0, 0.01);
}

TEST_F(BallTest, TheTowedBallHangsTenPixelsBeyondTheCentreOppositeTheShip) {
  towFromAbove();
  levelState.dt = 0.5f;
  stepShip();
  placeTowedBall();
  EXPECT_EQ(levelState.shipY, levelState.flightY - 10);
  EXPECT_EQ(levelState.ballY, levelState.flightY + 10);
  EXPECT_EQ(levelState.ballX, levelState.flightX);
  EXPECT_EQ(levelState.ballY - levelState.shipY, 20);
}

TEST_F(BallTest, ThrustAlongTheRodPullsWithoutTurningAndAcrossItTurns) {
  towFromAbove();
  controls.thrust = 1;
  levelState.angle = 3.1415927f;  // nose up, along the rod
  for (int i = 0; i < 20; ++i) stepShip();
  EXPECT_NEAR(ball.rodSpin, 0, 1e-5);
  EXPECT_NEAR(std::fmod(ball.rodAngle + 6.2831853, 6.2831853), 0, 1e-4);
  EXPECT_NEAR(std::fabs(ball.rodAxial), 1, 1e-6);
  const float alongVelY = levelState.velY;
  EXPECT_LT(alongVelY, 0);  // 0.2 of thrust beats 0.1 of gravity

  SetUp();
  towFromAbove();
  controls.thrust = 1;
  levelState.angle = 3.1415927f / 2;  // nose left, across the rod
  for (int i = 0; i < 20; ++i) stepShip();
  EXPECT_GT(ball.rodSpin, 0.005);
  EXPECT_GT(std::fabs(ball.rodAngle), 0.01);
  EXPECT_GT(levelState.velY, alongVelY);  // the weakest thrust, and none of it upwards
}

TEST_F(BallTest, ThrustPowerRunsFromATenthAcrossTheRodToAFifthAlongIt) {
  towFromAbove();
  controls.thrust = 1;
  levelState.angle = 3.1415927f / 2;
  stepShip();  // leaves the axial term for the next frame
  ASSERT_NEAR(ball.rodAxial, 0, 1e-3);
  const float before = levelState.velX;
  stepShip();
  const float gained = levelState.velX * (1 + 0.5f / 40) - before;  // undo the drag
  EXPECT_NEAR(gained, -0.1f * 0.5f, 2e-3);
}

TEST_F(BallTest, TheProbeIgnoresEverythingAtOrAboveRow500) {
  towFromAbove();
  levelState.flightX = 1100;
  levelState.flightY = 480;
  levelState.cameraY = 400;
  ball.rodSin = 0;
  ball.rodCos = 1;
  fillRect(0, 0, 319, 199, 66);
  placeTowedBall();
  EXPECT_EQ(levelState.ballY, 490);
  EXPECT_EQ(levelState.ballDestroyed, 0);
  levelState.flightY = 491;  // ball at row 501
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 1);
}

TEST_F(BallTest, RockFourPixelsFromTheTowedBallDestroysItWithABurstOf101) {
  towFromAbove();
  levelState.flightX = 1100;
  levelState.flightY = 600;
  ball.rodSin = 0;
  ball.rodCos = 1;
  putPixel(100 + 5, 110, 66);  // five pixels right of the ball: missed
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 0);
  putPixel(100, 110 + 4, 66);  // four below: hit
  placeTowedBall();
  EXPECT_EQ(levelState.ballDestroyed, 1);
  explodeBall();
  int live = 0;
  for (const Particle& particle : debris) live += particle.life > 0 ? 1 : 0;
  EXPECT_EQ(live, 101);
  EXPECT_EQ(levelState.ballTowed, 0);
  EXPECT_EQ(ball.ballExploded, 1);
}

TEST_F(BallTest, ADestroyedBallLeavesTheShipFlyingOnFromItsOwnPosition) {
  towFromAbove();
  levelState.velX = 1.5f;
  levelState.velY = -2.0f;
  stepShip();
  const int shipY = levelState.shipY;
  levelState.ballDestroyed = 1;
  explodeBall();
  EXPECT_NEAR(levelState.posY, shipY, 1.0);  // back from the centre to the ship
  EXPECT_FLOAT_EQ(levelState.velX, 1.5f * (1 / (0.5f / 40 + 1)));
  stepShip();
  EXPECT_EQ(levelState.shipY, levelState.flightY);
}

TEST_F(BallTest, TheStandAndTheBallOnItAreDrawnOnlyWellInsideTheView) {
  drawBall();
  EXPECT_EQ(getPixel(140, 136 - 3), 29);
  EXPECT_EQ(getPixel(140 + 6, 136 + 11), 7);
  clearFrame(0, kScreenHeight);
  levelState.cameraX = kBallX - 10;  // bx = 10: not drawn
  drawBall();
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(BallTest, TheRodIsDrawnInHalfTheCraftColourPlusEleven) {
  towFromAbove();
  stepShip();
  placeTowedBall();
  drawBall();
  const int sx = levelState.shipX - levelState.cameraX, sy = levelState.shipY - levelState.cameraY;
  EXPECT_EQ(getPixel(sx, sy + 5), 25);
  clearFrame(0, kScreenHeight);
  levelState.craftColour = 20;
  drawBall();
  EXPECT_EQ(getPixel(sx, sy + 5), 21);
  EXPECT_EQ(
      getPixel(levelState.ballX - levelState.cameraX, levelState.ballY - levelState.cameraY + 3),
      20);
}

class BallInFlight : public BallTest {
 protected:
  void SetUp() override {
    BallTest::SetUp();
    useBoxes({Box{0, 700, 2399, 760, 66}});
  }
};

TEST_F(BallInFlight, AfterTheShipsLossATowedBallFliesOnAndFallsUntilItHitsTheRock) {
  useScript("wait 400\n");
  startLevel();
  levelState.ballX = kBallX;
  levelState.ballY = kBallY;
  towFromAbove();
  levelState.velX = 0.8f;
  ball.rodSpin = 0.02f;
  levelState.cameraX = static_cast<int>(levelState.posX) - 160;  // the view on the pair
  levelState.cameraY = static_cast<int>(levelState.posY) - 100;
  runLevelFrame();
  const int ballXBefore = levelState.ballX;
  levelState.shipDestroyed = 1;  // as a shot would
  runLevelFrame();
  EXPECT_EQ(levelState.velX, 0);
  EXPECT_NEAR(ball.freeVelX, 0.8f * (1 / (levelState.dt / 40 + 1)) - 0.02f, 0.05);
  EXPECT_EQ(levelState.ballTowed, 1);
  int frames = 0;
  while (!levelState.ballDestroyed && frames < 300) {
    runLevelFrame();
    ++frames;
  }
  EXPECT_EQ(levelState.ballDestroyed, 1);
  EXPECT_GT(levelState.ballX, ballXBefore + 5);
  EXPECT_GE(levelState.ballY + 4, 700);
  runLevelFrame();
  EXPECT_EQ(ball.ballExploded, 1);
  EXPECT_EQ(levelState.ballTowed, 0);
}

TEST_F(BallInFlight, AFreeBallThatFallsOutOfTheViewStopsFarBelowTheWorld) {
  useScript("wait 400\n");
  startLevel();
  towFromAbove();
  levelState.shipDestroyed = 1;
  levelState.cameraY = 0;  // nothing in view can stop it
  runLevelFrame();
  ball.freeVelY = 400;
  for (int i = 0; i < 100; ++i) runLevelFrame();
  EXPECT_GT(ball.freeY, 4800);
  EXPECT_LT(ball.freeY, 4800 + 300);
  EXPECT_EQ(levelState.ballDestroyed, 0);
}

TEST_F(BallInFlight, ABallOnItsStandStaysThereWhenTheShipIsLost) {
  useScript("wait 400\n");
  startLevel();
  levelState.ballX = kBallX;
  levelState.ballY = kBallY;
  levelState.shipDestroyed = 1;
  for (int i = 0; i < 50; ++i) runLevelFrame();
  EXPECT_EQ(levelState.ballX, kBallX);
  EXPECT_EQ(levelState.ballY, kBallY);
  EXPECT_EQ(ball.ballOnStand, 1);
  EXPECT_EQ(levelState.ballDestroyed, 0);
}

}  // namespace
