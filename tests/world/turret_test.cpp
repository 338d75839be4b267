#include <gtest/gtest.h>

#include <cstdlib>

#include "app/game_state.h"
#include "app/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

constexpr int kCameraX = 1040;
constexpr int kCameraY = 450;
constexpr int kFlightX = 1200;  // the view's centre
constexpr int kFlightY = 550;

// A level in its first round: view at (1040, 450), the flight point in its
// middle, shots at 1.5 pixels per unit, countdowns of 10..1509, and a step of
// 0.6 units (6 ticks), about what the first frame of a level takes.
// The sound of a shot is seen through turretShotSounds, which counts the
// sound calls, so that a shot dropped by a full pool can still be heard.
class TurretTest : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState = LevelState{};
    levelState.cameraX = kCameraX;
    levelState.cameraY = kCameraY;
    levelState.flightX = kFlightX;
    levelState.flightY = kFlightY;
    levelState.shipX = levelState.shipY = -1000;
    levelState.dt = 0.6f;
    levelState.turretShotSpeed = 1.5f;
    levelState.turretReloadRange = 1500;
    gameState = GameState{};
    for (Turret& turret : turrets) turret = Turret{};
    lastTurret = -1;
    resetShots();
    makeCeilingSprite();
    soundsBefore = turretShotSounds;
  }

  // A turret with its top-left corner at world (x, y).
  static Turret& addTurret(int x, int y, int kind, int reload = 0) {
    turrets[++lastTurret] = Turret{x, y, kind, reload};
    return turrets[lastTurret];
  }
  static int liveShots() {
    int live = 0;
    for (const Shot& shot : shots) live += shot.life > 0;
    return live;
  }
  // The countdowns the next draws of random() give, read ahead and then replayed.
  static void expectReloads(unsigned seed, int range, int* first, int* second = nullptr) {
    srandom(seed);
    *first = static_cast<int>(random() % range) + 10;
    if (second) *second = static_cast<int>(random() % range) + 10;
    srandom(seed);
  }
  int soundsPlayed() const { return turretShotSounds - soundsBefore; }

  int soundsBefore = 0;
};

TEST_F(TurretTest, FiresStraightAlongTheAxisFromItsMuzzleWithTheLifeOfItsKind) {
  addTurret(kFlightX - 8, 600, kFloorTurret);    // below: straight up
  addTurret(kFlightX - 8, 500, kCeilingTurret);  // above: straight down
  updateTurrets();
  ASSERT_EQ(liveShots(), 2);
  EXPECT_FLOAT_EQ(shots[0].x, kFlightX);
  EXPECT_FLOAT_EQ(shots[0].y, 599);
  EXPECT_FLOAT_EQ(shots[0].vx, 0);
  EXPECT_FLOAT_EQ(shots[0].vy, -1.5f);
  EXPECT_FLOAT_EQ(shots[0].life, 200 / 1.5f);
  EXPECT_FLOAT_EQ(shots[1].y, 517);
  EXPECT_FLOAT_EQ(shots[1].vy, 1.5f);
  EXPECT_FLOAT_EQ(shots[1].life, 120 / 1.5f);
  EXPECT_EQ(soundsPlayed(), 2);
}

TEST_F(TurretTest, AimsAtWhereTheFlightPointIsAtTheShotSpeed) {
  addTurret(1162, 591, kFloorTurret);  // muzzle (1170, 590): dx -30, dy 40
  levelState.turretShotSpeed = 2.5f;
  updateTurrets();
  ASSERT_EQ(liveShots(), 1);
  EXPECT_FLOAT_EQ(shots[0].vx, 1.5f);
  EXPECT_FLOAT_EQ(shots[0].vy, -2.0f);
  EXPECT_FLOAT_EQ(shots[0].life, 80);
}

TEST_F(TurretTest, FiresOnlyAtAShipOnItsOpenSideOneRowAwayButNotLevelWithTheMuzzle) {
  Turret& floor = addTurret(1100, kFlightY + 2, kFloorTurret);       // muzzle one row below
  Turret& ceiling = addTurret(1140, kFlightY - 17, kCeilingTurret);  // muzzle level
  updateTurrets();
  ASSERT_EQ(liveShots(), 1);
  EXPECT_FLOAT_EQ(shots[0].y, kFlightY + 1);

  resetShots();
  floor.reload = ceiling.reload = 0;
  levelState.flightY = kFlightY + 1;  // now level with the floor muzzle, one below the ceiling's
  updateTurrets();
  ASSERT_EQ(liveShots(), 1);
  EXPECT_FLOAT_EQ(shots[0].y, kFlightY);
  EXPECT_EQ(soundsPlayed(), 2);
  EXPECT_GE(floor.reload, 10);  // a turret that may not fire still draws a new countdown
}

TEST_F(TurretTest, OnlyATurretWhoseTopLeftCornerIsInViewFires) {
  // Floor turrets below the flight point, corners just inside and just outside.
  const int inside[][2] = {{0, 110}, {319, 110}, {100, 199}};
  const int outside[][2] = {{-1, 110}, {320, 110}, {100, 200}};
  for (const auto& corner : inside) addTurret(kCameraX + corner[0], kCameraY + corner[1], 1);
  for (const auto& corner : outside) addTurret(kCameraX + corner[0], kCameraY + corner[1], 1);
  addTurret(kCameraX + 100, kCameraY - 1, kCeilingTurret);
  updateTurrets();
  EXPECT_EQ(liveShots(), 3);
  EXPECT_EQ(soundsPlayed(), 3);
}

TEST_F(TurretTest, ACornerOnePixelLeftOfTheViewDoesNotFireButRedrawsItsCountdown) {
  Turret& turret = addTurret(kCameraX - 1, 600, kFloorTurret);
  int expected = 0;
  expectReloads(11, 1500, &expected);
  updateTurrets();
  EXPECT_EQ(liveShots(), 0);
  EXPECT_EQ(turret.reload, expected);
}

TEST_F(TurretTest, CountsDownByTheStepInTenthsRoundedAndFiresOnlyBelowZero) {
  Turret& early = addTurret(1100, 600, kFloorTurret, 6);
  Turret& late = addTurret(1140, 600, kFloorTurret, 7);
  levelState.dt = 0.64f;  // 6.4 tenths: 6 ticks
  updateTurrets();
  EXPECT_EQ(early.reload, 0);
  EXPECT_EQ(late.reload, 1);
  EXPECT_EQ(liveShots(), 0);

  levelState.dt = 0.06f;  // 0.6 tenths: 1 tick
  updateTurrets();
  ASSERT_EQ(liveShots(), 1);
  EXPECT_FLOAT_EQ(shots[0].x, 1108);
  EXPECT_EQ(late.reload, 0);
}

TEST_F(TurretTest, OnTheFirstFrameEveryTurretInViewWithTheShipOnItsOpenSideFires) {
  levelState.dt = 29 / 50.0f;  // frameMs 30 moved one step towards the measured time
  addTurret(1100, 600, kFloorTurret);
  addTurret(1140, 480, kCeilingTurret);
  addTurret(1180, 480, kFloorTurret);  // ship below it
  addTurret(1500, 600, kFloorTurret);  // out of view
  updateTurrets();
  EXPECT_EQ(liveShots(), 2);
  EXPECT_EQ(soundsPlayed(), 2);
}

TEST_F(TurretTest, EachRunOutCountdownDrawsTheNextRandomNumberInSlotOrder) {
  Turret& fires = addTurret(1100, 600, kFloorTurret);
  Turret& waits = addTurret(1100, 500, kFloorTurret);  // ship below it
  Turret& counting = addTurret(1140, 600, kFloorTurret, 100);
  int first = 0, second = 0;
  expectReloads(5, 1500, &first, &second);
  updateTurrets();
  EXPECT_EQ(fires.reload, first);
  EXPECT_EQ(waits.reload, second);
  EXPECT_EQ(counting.reload, 94);
}

TEST_F(TurretTest, AReloadRangeOfZeroGivesTheShortestCountdown) {
  Turret& turret = addTurret(1100, 600, kFloorTurret);
  for (int range : {0, -3, 1}) {
    levelState.turretReloadRange = range;
    turret.reload = 0;
    updateTurrets();
    EXPECT_EQ(turret.reload, 10) << range;
  }
  EXPECT_EQ(liveShots(), 3);
}

TEST_F(TurretTest, WhilePausedNoCountdownRunsDownAndDestroyedTurretsNeverDo) {
  Turret& runOut = addTurret(1100, 600, kFloorTurret, 0);
  Turret& waiting = addTurret(1140, 600, kFloorTurret, 3);
  for (float dt : {0.0f, 0.04f}) {  // both round to 0 ticks
    levelState.dt = dt;
    updateTurrets();
  }
  EXPECT_EQ(runOut.reload, 0);
  EXPECT_EQ(waiting.reload, 3);

  Turret& destroyed = addTurret(1180, 600, 0, 0);
  levelState.dt = 0.6f;
  runOut.kind = waiting.kind = 0;
  updateTurrets();
  EXPECT_EQ(destroyed.reload, 0);
  EXPECT_EQ(liveShots(), 0);
  EXPECT_EQ(soundsPlayed(), 0);
}

TEST_F(TurretTest, WithAFullPoolAFiringTurretStillPlaysItsSoundAndRedrawsItsCountdown) {
  for (int i = 0; i < kShotSlots; ++i) spawnShot(1050 + i, 460, 0, 0, 10);
  Turret& turret = addTurret(1100, 600, kFloorTurret);
  int expected = 0;
  expectReloads(3, 1500, &expected);
  updateTurrets();
  EXPECT_EQ(soundsPlayed(), 1);
  EXPECT_EQ(turret.reload, expected);
  for (int i = 0; i < kShotSlots; ++i) EXPECT_FLOAT_EQ(shots[i].x, 1050 + i) << i;
}

TEST_F(TurretTest, ATurretsOwnShotLeavesItUnharmed) {
  addTurret(kFlightX - 8, 600, kFloorTurret);
  addTurret(kFlightX - 8, 500, kCeilingTurret);
  addTurret(1100, kFlightY + 2, kFloorTurret);  // one row below, far to the left
  updateTurrets();
  updateShots();
  EXPECT_EQ(liveShots(), 3);
  EXPECT_EQ(gameState.score, 0);
}

TEST_F(TurretTest, TheCeilingImageIsTheFloorImageTurnedHalfAround) {
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      EXPECT_EQ(ceilingTurretSprite[row * 16 + column],
                floorTurretSprite[(15 - row) * 16 + (15 - column)]);
    }
  }
}

TEST_F(TurretTest, DrawsEachLiveTurretOpaquelyWhereItStands) {
  fillRect(0, 0, kScreenWidth - 1, kScreenHeight - 1, 5);
  addTurret(kCameraX + 20, kCameraY + 30, kFloorTurret);
  addTurret(kCameraX + 60, kCameraY + 30, kCeilingTurret);
  addTurret(kCameraX + 100, kCameraY + 30, 0);
  drawTurrets();
  // Floor image: empty top rows, the barrel's first grey row at 3..12, the foot's grey.
  EXPECT_EQ(getPixel(20, 30), 0);
  EXPECT_EQ(getPixel(22, 32), 0);
  EXPECT_EQ(getPixel(23, 32), 24);
  EXPECT_EQ(getPixel(21, 34), 30);
  EXPECT_EQ(getPixel(22, 40), 26);
  EXPECT_EQ(getPixel(36, 30), 5);
  // Ceiling image: the same turned over, foot at the top.
  EXPECT_EQ(getPixel(62, 30), 24);
  EXPECT_EQ(getPixel(72, 43), 24);
  EXPECT_EQ(getPixel(75, 45), 0);
  // The destroyed turret leaves what lay beneath.
  for (int y = 30; y < 46; ++y) {
    for (int x = 100; x < 116; ++x) EXPECT_EQ(getPixel(x, y), 5) << x << "," << y;
  }
}

}  // namespace
