#include "world/particles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

int liveCount(const Particle* pool, int slots) {
  int live = 0;
  for (int i = 0; i < slots; ++i) live += pool[i].life > 0 ? 1 : 0;
  return live;
}

class Particles : public ::testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState = LevelState{};
    levelState.cameraX = 1000;
    levelState.cameraY = 500;
    levelState.drag = 1.0f;
    resetDebris();
    resetExhaust();
  }
};

TEST_F(Particles, AnExplosionBurstsIntoFourTimesItsSizePlusOneParticles) {
  spawnExplosion(1100, 600, 10);
  EXPECT_EQ(liveCount(debris, kDebrisSlots), 41);
  resetDebris();
  spawnExplosion(1100, 600, 20);
  EXPECT_EQ(liveCount(debris, kDebrisSlots), 81);
  resetDebris();
  spawnExplosion(1100, 600, 25);
  EXPECT_EQ(liveCount(debris, kDebrisSlots), 101);
}

TEST_F(Particles, ExplosionDebrisStartsNearTheCentreAtSmallSpeeds) {
  spawnExplosion(1100, 600, 25);
  for (int i = 0; i < 101; ++i) {
    EXPECT_GE(debris[i].x, 1095);
    EXPECT_LE(debris[i].x, 1104);
    EXPECT_GE(debris[i].y, 595);
    EXPECT_LE(debris[i].y, 604);
    EXPECT_GE(debris[i].vx, -1.5f);
    EXPECT_LE(debris[i].vx, 1.49f + 1e-6f);
    EXPECT_GE(debris[i].life, 3);
    EXPECT_LE(debris[i].life, 22);
  }
}

TEST_F(Particles, ExplosionDrawsSpeedsRowColumnThenLife) {
  srandom(3);
  const long rvy = random(), rvx = random(), rRow = random(), rColumn = random();
  const long rLife = random();
  srandom(3);
  spawnExplosion(1100, 600, 10);
  EXPECT_FLOAT_EQ(debris[0].vy, static_cast<float>((rvy % 300) / 100.0 - 1.5));
  EXPECT_FLOAT_EQ(debris[0].vx, static_cast<float>((rvx % 300) / 100.0 - 1.5));
  EXPECT_FLOAT_EQ(debris[0].y, 600 + (rRow % 10) - 5);
  EXPECT_FLOAT_EQ(debris[0].x, 1100 + (rColumn % 10) - 5);
  EXPECT_FLOAT_EQ(debris[0].life, 3 + rLife % 20);
}

TEST_F(Particles, TheShipsThreeBurstsOverflowThePoolAndTheDroppedOnesDrawNoLife) {
  srandom(11);
  spawnExplosion(1095, 600, 20);
  spawnExplosion(1105, 595, 20);
  spawnExplosion(1100, 605, 20);
  const long next = random();
  EXPECT_EQ(liveCount(debris, kDebrisSlots), 201);
  // 243 particles: four draws each, and a life draw for the 201 that found room.
  srandom(11);
  for (int i = 0; i < 243 * 4 + 201; ++i) random();
  EXPECT_EQ(random(), next);
}

TEST_F(Particles, DebrisStepsBackwardsThroughTheColourTable) {
  spawnDebris(1100, 600, 0, 0);
  debris[0].life = 9.5f;
  levelState.dt = 10.0f / 3;  // ages one unit of life per frame
  std::vector<int> colours;
  for (int frame = 0; frame < 10; ++frame) {
    clearFrame(0, kScreenHeight);
    updateDebris();
    colours.push_back(getPixel(100, 100));
  }
  EXPECT_EQ(colours, (std::vector<int>{15, 14, 44, 43, 42, 41, 40, 113, 112, 184}));
  EXPECT_LE(debris[0].life, 0);
}

TEST_F(Particles, DebrisMovesThenSlowsWithTheFlightDrag) {
  spawnDebris(1100, 600, 1.0f, -0.5f);
  levelState.dt = 2;
  levelState.drag = 0.5f;
  updateDebris();
  EXPECT_FLOAT_EQ(debris[0].x, 1102);
  EXPECT_FLOAT_EQ(debris[0].y, 599);
  EXPECT_FLOAT_EQ(debris[0].vx, 0.5f);
  EXPECT_FLOAT_EQ(debris[0].vy, -0.25f);
}

TEST_F(Particles, DebrisAtColumn319IsDrawnAndJustPastItIsFreed) {
  spawnDebris(1000 + 319.0f, 600, 0, 0);
  spawnDebris(1000 + 319.01f, 610, 0, 0);
  spawnDebris(1000 - 0.01f, 620, 0, 0);
  updateDebris();
  EXPECT_NE(getPixel(319, 100), 0);
  EXPECT_GT(debris[0].life, 0);
  EXPECT_EQ(debris[1].life, 0);
  EXPECT_EQ(debris[2].life, 0);
  EXPECT_EQ(paintedPixels().size(), 1u);
}

TEST_F(Particles, DebrisBelowTheViewIsFreed) {
  spawnDebris(1100, 500 + 199.0f, 0, 0);
  spawnDebris(1100, 500 + 199.5f, 0, 0);
  updateDebris();
  EXPECT_GT(debris[0].life, 0);
  EXPECT_EQ(debris[1].life, 0);
}

TEST_F(Particles, ExhaustIsDrawnBeforeItMovesAndFadesFromColour34) {
  spawnExhaust(1100, 600, 2, 0);
  levelState.dt = 1;
  updateExhaust();
  EXPECT_EQ(getPixel(100, 100), 34);
  EXPECT_FLOAT_EQ(exhaust[0].x, 1102);
  EXPECT_NEAR(exhaust[0].life, 17.3f, 1e-5);
  clearFrame(0, kScreenHeight);
  updateExhaust();
  EXPECT_EQ(getPixel(102, 100), 33);  // life 17.3 rounds to 17
  for (int frame = 0; frame < 30; ++frame) updateExhaust();
  EXPECT_LE(exhaust[0].life, 0);
}

TEST_F(Particles, ExhaustLeavingTheViewIsFreed) {
  spawnExhaust(1000 + 319.4f, 600, 0, 0);
  spawnExhaust(1000 + 319.5f, 600, 0, 0);
  updateExhaust();
  EXPECT_GT(exhaust[0].life, 0);
  EXPECT_EQ(exhaust[1].life, 0);
}

TEST_F(Particles, SpawnsTakeTheFirstFreeRecordAndAFullPoolDropsThem) {
  for (int i = 0; i < kExhaustSlots; ++i) spawnExhaust(1100, 600, 0, 0);
  EXPECT_EQ(liveCount(exhaust, kExhaustSlots), kExhaustSlots);
  exhaust[7].life = 0;
  spawnExhaust(1200, 650, 1, 1);
  EXPECT_EQ(exhaust[7].x, 1200);
  spawnExhaust(1300, 650, 1, 1);
  EXPECT_EQ(liveCount(exhaust, kExhaustSlots), kExhaustSlots);
  for (int i = 0; i < kExhaustSlots; ++i) EXPECT_NE(exhaust[i].x, 1300);
}

TEST_F(Particles, WhileTimeStandsStillParticlesStayPutAndAreStillDrawn) {
  spawnDebris(1100, 600, 1, 1);
  spawnExhaust(1150, 650, 1, 1);
  levelState.dt = 0;
  const Particle debrisBefore = debris[0], exhaustBefore = exhaust[0];
  for (int frame = 0; frame < 5; ++frame) {
    clearFrame(0, kScreenHeight);
    updateExhaust();
    updateDebris();
  }
  EXPECT_EQ(debris[0].x, debrisBefore.x);
  EXPECT_EQ(debris[0].life, debrisBefore.life);
  EXPECT_EQ(exhaust[0].y, exhaustBefore.y);
  EXPECT_EQ(exhaust[0].life, exhaustBefore.life);
  EXPECT_NE(getPixel(100, 100), 0);
  EXPECT_NE(getPixel(150, 150), 0);
}

}  // namespace
