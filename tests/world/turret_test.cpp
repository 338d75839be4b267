// Turrets: aiming from the muzzle, the open side, the view, the countdown in
// ticks, and the sound of a shot that the full pool drops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "level_support.h"
#include "screens/settings.h"
#include "sound/sound_effects.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

// The flight point in the middle of the view, shots at 1.5 pixels per unit, countdowns of
// 10..1509, and a step of 0.6 units (6 ticks).
class Turrets : public EmptyView {
 protected:
  void SetUp() override {
    EmptyView::SetUp();
    levelState.flightX = kCameraX + 160;
    levelState.flightY = kCameraY + 100;
    levelState.dt = 0.6f;
    levelState.turretShotSpeed = 1.5f;
    levelState.turretReloadRange = 1500;
    settings.effectsOn = 1;
    channelBefore = effectChannel;
  }
  // playEffect moves effectChannel on through 1, 2, 3 for each effect, sound server or not.
  int soundsPlayed() const { return (effectChannel - channelBefore + 3) % 3; }
  // The countdown the next draw of random() gives, read ahead and then replayed.
  static int nextReload(unsigned seed) {
    srandom(seed);
    const int reload = static_cast<int>(random() % 1500) + 10;
    srandom(seed);
    return reload;
  }
  // A shot as its screen position, speed and life.
  static std::vector<float> shot(int i) {
    const Shot& s = shots[i];
    return {s.x - kCameraX, s.y - kCameraY, s.vx, s.vy, s.life};
  }

  int channelBefore = 0;
};

TEST_F(Turrets, FireFromTheirMuzzleAtTheFlightPointWithTheRangeOfTheirKind) {
  levelState.turretShotSpeed = 2.0f;
  addTurret(152, 150, kFloorTurret);   // below the flight point: straight up
  addTurret(152, 50, kCeilingTurret);  // above it: straight down
  addTurret(122, 141, kFloorTurret);   // muzzle 30 left of it and 40 below
  updateTurrets();
  EXPECT_EQ(shot(0), (std::vector<float>{160, 149, 0, -2, 100}));
  EXPECT_EQ(shot(1), (std::vector<float>{160, 67, 0, 2, 60}));
  EXPECT_EQ(shot(2), (std::vector<float>{130, 140, 1.2f, -1.6f, 100}));
  updateShots();
  EXPECT_EQ(live(shots), 3) << "a turret's own shot leaves it unharmed";
}

TEST_F(Turrets, FireAtAShipOneRowOnTheirOpenSideButNotLevelWithTheMuzzle) {
  Turret& floor = addTurret(60, 102, kFloorTurret);      // muzzle one row below the flight point
  Turret& ceiling = addTurret(100, 83, kCeilingTurret);  // muzzle level with it
  updateTurrets();
  ASSERT_EQ(live(shots), 1);
  EXPECT_FLOAT_EQ(shots[0].y, kCameraY + 101);
  resetShots();
  floor.reload = ceiling.reload = 0;
  ++levelState.flightY;  // now level with the floor's muzzle, one row below the ceiling's
  updateTurrets();
  ASSERT_EQ(live(shots), 1);
  EXPECT_FLOAT_EQ(shots[0].y, kCameraY + 100);
  EXPECT_GE(floor.reload, 10) << "a turret that may not fire still draws a new countdown";
}

TEST_F(Turrets, OnTheFirstFrameFireWithTheirTopLeftCornerInViewAndTheShipOnTheirOpenSide) {
  levelState.dt = 29 / 50.0f;  // frameMs 30 moved one step towards the measured time
  for (auto [sx, sy] :
       {std::pair{-1, 110}, {320, 110}, {100, 200}, {0, 110}, {319, 110}, {100, 199}})
    addTurret(sx, sy);
  addTurret(100, -1, kCeilingTurret);
  addTurret(100, 30, kCeilingTurret);
  addTurret(140, 30);  // the ship below it
  const int reload = nextReload(11);
  updateTurrets();
  EXPECT_EQ(live(shots), 4);
  EXPECT_EQ(turrets[0].reload, reload) << "one pixel left of the view: no shot, a new countdown";
}

TEST_F(Turrets, CountDownInRoundedTenthsAndFireOnlyBelowZeroButNotWhilePaused) {
  Turret& early = addTurret(60, 150, kFloorTurret, 6);
  Turret& late = addTurret(100, 150, kFloorTurret, 7);
  Turret& destroyed = addTurret(140, 150, 0);
  for (float dt : {0.0f, 0.04f, 0.64f}) {  // 0, 0 and 6 ticks
    levelState.dt = dt;
    updateTurrets();
  }
  EXPECT_EQ((std::vector<int>{early.reload, late.reload, destroyed.reload}),
            (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(live(shots), 0);
  levelState.dt = 0.06f;  // 1 tick
  updateTurrets();
  EXPECT_EQ(live(shots), 1);
  EXPECT_FLOAT_EQ(shots[0].x, kCameraX + 68) << "the early one";
}

TEST_F(Turrets, AReloadRangeOfZeroGivesTheShortestCountdown) {
  Turret& turret = addTurret(60, 150);
  levelState.turretReloadRange = 0;
  updateTurrets();
  EXPECT_EQ(turret.reload, 10);
}

TEST_F(Turrets, WithAFullPoolStillPlayTheSoundAndRedrawTheCountdown) {
  for (int i = 0; i < kShotSlots; ++i) spawnShot(1050 + i, 460, 0, 0, 10);
  Turret& turret = addTurret(60, 150);
  const int reload = nextReload(3);
  updateTurrets();
  EXPECT_EQ(soundsPlayed(), 1);
  EXPECT_EQ(turret.reload, reload);
  for (int i = 0; i < kShotSlots; ++i) EXPECT_FLOAT_EQ(shots[i].x, 1050 + i) << i;
}

}  // namespace
