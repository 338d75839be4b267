#include "app/ship.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "level_fixture.h"
#include "sound/sound_effects.h"
#include "world/particles.h"

namespace {

class ShipFlight : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    placeShipAtStart();
    resetExhaust();
    levelState.dt = 1.0f;
    levelState.spin = 0.4f;
  }

  // Angle changes over frames with one turn key held.
  std::vector<float> turnSteps(int turnSpeed, int frames) {
    settings.turnSpeed = static_cast<uint8_t>(turnSpeed);
    controls.turnRight = 1;
    std::vector<float> steps;
    for (int i = 0; i < frames; ++i) {
      const float before = levelState.angle;
      stepShip();
      steps.push_back(levelState.angle - before);
    }
    return steps;
  }
};

TEST_F(ShipFlight, StartsAtRestNoseUpWithTheCameraOnIt) {
  EXPECT_EQ(levelState.posX, 1200.0f);
  EXPECT_EQ(levelState.posY, 550.0f);
  EXPECT_EQ(levelState.cameraX, 1040);
  EXPECT_EQ(levelState.cameraY, 450);
  EXPECT_EQ(levelState.angle, 3.1415927f);
}

TEST_F(ShipFlight, TurnsFasterWhileTheKeyIsHeldUpToTheCap) {
  const std::vector<float> steps = turnSteps(50, 7);
  const float expected[] = {0.08f, 0.14f, 0.20f, 0.26f, 0.30f, 0.30f, 0.30f};
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(steps[i], expected[i], 1e-5) << "frame " << i;
}

TEST_F(ShipFlight, TurnSpeedScalesRateBuildUpAndCap) {
  for (int turnSpeed : {30, 70}) {
    levelState.spin = 0.4f;
    levelState.angle = 0.5f;
    const double k = turnSpeed / 50.0;
    const std::vector<float> steps = turnSteps(turnSpeed, 8);
    double spin = 0.4;
    for (int i = 0; i < 8; ++i) {
      EXPECT_NEAR(steps[i], 0.2 * k * spin, 1e-5) << "speed " << turnSpeed << " frame " << i;
      spin = std::min(spin + 0.3 * k, 1.5 * k);
    }
    EXPECT_NEAR(steps.back(), 0.2 * k * 1.5 * k, 1e-5);  // rate and cap both scale
  }
}

TEST_F(ShipFlight, ReleasingTheKeysResetsTheBuildUpAndLeftWinsOverRight) {
  turnSteps(50, 5);
  controls.turnRight = 0;
  stepShip();
  EXPECT_FLOAT_EQ(levelState.spin, 0.4f);
  controls.turnLeft = controls.turnRight = 1;
  const float before = levelState.angle;
  stepShip();
  EXPECT_NEAR(levelState.angle - before, -0.08f, 1e-5);
}

TEST_F(ShipFlight, TheHeadingStaysWithinATurn) {
  levelState.angle = 0.01f;
  controls.turnLeft = 1;
  stepShip();
  EXPECT_NEAR(levelState.angle, 0.01 - 0.08 + 6.283185307179586, 1e-5);
  levelState.angle = 6.28f;
  controls.turnLeft = 0;
  controls.turnRight = 1;
  levelState.spin = 0.4f;
  stepShip();
  EXPECT_NEAR(levelState.angle, 6.28 + 0.08 - 6.283185307179586, 1e-5);
}

TEST_F(ShipFlight, FallsNoFasterThanFourTimesOnePlusDtOverForty) {
  for (float dt : {0.5f, 1.0f, 2.0f}) {
    placeShipAtStart();
    levelState.dt = dt;
    for (int i = 0; i < 2000; ++i) stepShip();
    EXPECT_NEAR(levelState.velY, 4 * (1 + dt / 40), 1e-3) << "dt " << dt;
    EXPECT_NEAR(levelState.velX, 0, 1e-6);
  }
}

TEST_F(ShipFlight, ClimbsWithTheNoseUpAndThrustHeld) {
  controls.thrust = 1;
  for (int i = 0; i < 20; ++i) stepShip();
  EXPECT_LT(levelState.velY, 0);
  EXPECT_LT(levelState.posY, 550.0f - 20);
  EXPECT_NEAR(levelState.posX, 1200.0f, 1e-3);
  EXPECT_EQ(shipThrusting, 1);
  controls.thrust = 0;
  stepShip();
  EXPECT_EQ(shipThrusting, 0);
}

TEST_F(ShipFlight, TheFlightPointMovesBeforeTheVelocityChanges) {
  levelState.velX = 2;
  levelState.velY = -1;
  stepShip();
  EXPECT_FLOAT_EQ(levelState.posX, 1202);
  EXPECT_FLOAT_EQ(levelState.posY, 549);
  EXPECT_EQ(levelState.shipX, 1202);
  EXPECT_EQ(levelState.shipY, 549);
  EXPECT_FLOAT_EQ(levelState.velX, 2 / (1 + 1.0f / 40));
}

TEST_F(ShipFlight, TheCameraRestsWithinItsDeadBand) {
  levelState.cameraX = 1040 + 4;  // x gap 4: no step
  levelState.cameraY = 450 + 2;   // y gap 2: no step
  stepShip();
  EXPECT_EQ(levelState.cameraX, 1044);
  EXPECT_EQ(levelState.cameraY, 452);
  levelState.posY = 550;
  levelState.velY = 0;
  levelState.cameraX = 1040 + 5;
  levelState.cameraY = 450 + 3;
  stepShip();
  EXPECT_EQ(levelState.cameraX, 1044);
  EXPECT_EQ(levelState.cameraY, 452);
}

TEST_F(ShipFlight, TheCameraClosesAFifthAndAThirdOfTheGapPerTimeUnit) {
  levelState.cameraX = 1040 + 50;
  levelState.cameraY = 450 + 30;
  stepShip();
  EXPECT_EQ(levelState.cameraX, 1040 + 40);
  EXPECT_EQ(levelState.cameraY, 450 + 20);
}

TEST_F(ShipFlight, TheCameraStepIsRoundedUpwardsSoLeftwardStepsComeOutAPixelShort) {
  levelState.cameraX = 1040 - 50;  // step -10: trunc(-10 + 0.5) = -9
  stepShip();
  EXPECT_EQ(levelState.cameraX, 1040 - 41);
}

TEST_F(ShipFlight, FlyingOffTheLeftEdgeJumpsRightBy2080) {
  levelState.posX = 100;
  levelState.cameraX = 0;  // gap 60: the camera steps 12 left, below 0
  stepShip();
  EXPECT_FLOAT_EQ(levelState.posX, 2180);
  EXPECT_EQ(levelState.flightX, 2180);
  EXPECT_EQ(levelState.cameraX, 2068);
  EXPECT_EQ(levelState.shipX, 2180);
}

TEST_F(ShipFlight, FlyingPastCameraColumn2080JumpsLeftBy2080) {
  levelState.posX = 2300;
  levelState.cameraX = 2080;  // gap -60: trunc(-12 + 0.5) moves it 11 right
  stepShip();
  EXPECT_FLOAT_EQ(levelState.posX, 220);
  EXPECT_EQ(levelState.cameraX, 11);
  levelState.posX = 2240;
  levelState.velX = 0;
  levelState.cameraX = 2080;  // gap 0: the camera stays at 2080, no jump
  stepShip();
  EXPECT_EQ(levelState.cameraX, 2080);
}

TEST_F(ShipFlight, ThrustTrailsTwoExhaustParticlesPerTimeUnitFromTheTail) {
  controls.thrust = 1;
  levelState.dt = 0.5f;
  stepShip();  // the timer starts at 0 and runs below it at once
  ASSERT_GT(exhaust[0].life, 0);
  ASSERT_GT(exhaust[1].life, 0);
  EXPECT_EQ(exhaust[2].life, -1);
  EXPECT_FLOAT_EQ(exhaust[0].x, static_cast<float>(levelState.shipX + 12 * std::sin(3.1415927f)));
  EXPECT_NEAR(exhaust[0].y, levelState.shipY + 12, 1e-4);
  EXPECT_GT(exhaust[0].vy, levelState.velY);  // leaves backwards, downwards
  stepShip();
  stepShip();
  EXPECT_EQ(exhaust[2].life, -1);  // one time unit: the timer runs from 1.0 to 0.0
  stepShip();
  EXPECT_GT(exhaust[2].life, 0);
  EXPECT_GT(exhaust[3].life, 0);
}

TEST_F(ShipFlight, ExhaustTakesFourRandomDrawsInItsOrder) {
  controls.thrust = 1;
  srandom(7);
  const long r = random(), r1 = random(), r2 = random(), r3 = random();
  const long next = random();
  srandom(7);
  stepShip();
  EXPECT_EQ(random(), next);
  const double a0 = static_cast<float>(levelState.angle + (r % 100) / 100.0 - 0.5);
  const double a1 = static_cast<float>(levelState.angle + (r1 % 100) / 100.0 - 0.5);
  EXPECT_NEAR(exhaust[0].vx, levelState.velX + std::sin(a0), 1e-6);
  EXPECT_NEAR(exhaust[0].vy, levelState.velY - std::cos(a0), 1e-6);
  EXPECT_NEAR(exhaust[1].vx, levelState.velX + std::sin(a1) * (r3 % 100) / 100, 1e-6);
  EXPECT_NEAR(exhaust[1].vy, levelState.velY - std::cos(a1) * (r2 % 100) / 100, 1e-6);
}

TEST_F(ShipFlight, NoExhaustWithoutDebrisButTheSameThrust) {
  settings.debrisOn = 0;
  controls.thrust = 1;
  stepShip();
  EXPECT_EQ(exhaust[0].life, -1);
  EXPECT_LT(levelState.velY, 0);
  EXPECT_EQ(shipThrusting, 1);
}

TEST_F(ShipFlight, TheGunFiresOncePerPressAlsoWhilePaused) {
  controls.fire = 1;
  fireGun();
  EXPECT_EQ(fireLatch, 1);
  fireGun();
  EXPECT_EQ(fireLatch, 1);
  controls.fire = 0;
  fireGun();
  EXPECT_EQ(fireLatch, 0);
  levelState.dt = 0;
  controls.fire = 1;
  fireGun();
  EXPECT_EQ(fireLatch, 1);
}

TEST_F(ShipFlight, ADestroyedShipDoesNotFire) {
  levelState.shipDestroyed = 1;
  controls.fire = 1;
  fireGun();
  EXPECT_EQ(fireLatch, 0);
}

}  // namespace
