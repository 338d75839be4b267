// Shots, turrets and the debris of explosions, in an empty level seen from
// the ship's start.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/particles.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

constexpr int kCameraX = 1040, kCameraY = 450;  // the view centred on the ship's start

// No turrets, shots or debris; the ship and the ball far outside the view; one time unit a frame.
class EmptyView : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState = LevelState{};
    levelState.cameraX = kCameraX;
    levelState.cameraY = kCameraY;
    levelState.dt = levelState.drag = 1.0f;
    levelState.shipX = levelState.shipY = levelState.ballX = levelState.ballY = -1000;
    gameState = GameState{};
    lastTurret = -1;
    resetShots();
    resetDebris();
  }
  // A turret whose image has its top-left corner at screen position (sx, sy).
  static Turret& addTurret(int sx, int sy, int kind = kFloorTurret, int reload = 0) {
    turrets[++lastTurret] = Turret{kCameraX + sx, kCameraY + sy, kind, reload};
    return turrets[lastTurret];
  }
  static int live(const auto& pool) {
    int count = 0;
    for (const auto& record : pool) count += record.life > 0;
    return count;
  }
};

using Debris = EmptyView;

TEST_F(Debris, StepsBackwardsThroughTheColourTable) {
  spawnDebris(kCameraX + 100, kCameraY + 100, 0, 0);
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

TEST_F(Debris, OnTheViewsEdgesIsDrawnAndJustPastThemIsFreed) {
  const float onEdges[][2] = {{0, 100}, {319, 100}, {100, 0}, {100, 199}};
  const float pastEdges[][2] = {{-0.01f, 110}, {319.01f, 110}, {110, -0.01f}, {110, 199.01f}};
  for (const auto& points : {onEdges, pastEdges})
    for (int i = 0; i < 4; ++i) spawnDebris(kCameraX + points[i][0], kCameraY + points[i][1], 0, 0);
  updateDebris();
  EXPECT_EQ(paintedPixels(), (std::vector<std::string>{"100,0", "0,100", "319,100", "100,199"}));
  EXPECT_EQ(live(debris), 4);
}

class Shots : public EmptyView {
 protected:
  // A shot at screen position (sx, sy), standing still unless given a speed.
  static void spawnAt(float sx, float sy, float vx = 0, float vy = 0, float life = 10) {
    spawnShot(kCameraX + sx, kCameraY + sy, vx, vy, life);
  }
  static void placeShip(int sx, int sy) {
    levelState.shipX = kCameraX + sx;
    levelState.shipY = kCameraY + sy;
  }
};

TEST_F(Shots, StopOneShortOfTheViewsEdgeAtRockAndAtAShotDrawnEarlierInThePass) {
  const float stopped[][2] = {{0, 10}, {319, 10}, {100, 0}, {100, 199}, {0.49f, 20}, {-5, 30}};
  const float flying[][2] = {{1, 100}, {318, 100}, {100, 1}, {100, 198}, {0.5f, 150}};
  for (const auto& position : stopped) spawnAt(position[0], position[1]);
  for (const auto& position : flying) spawnAt(position[0], position[1]);
  putPixel(201, 50, 3);
  spawnAt(200, 50, 1, 0);  // into the rock
  spawnAt(200, 80);
  spawnAt(201, 80, -1, 0);  // onto the shot before it
  updateShots();
  EXPECT_EQ(live(shots), 6);
  EXPECT_EQ(paintedPixels(), (std::vector<std::string>{"100,1", "201,50", "200,80", "1,100",
                                                       "318,100", "1,150", "100,198"}));
}

TEST_F(Shots, DestroyEveryTurretWhoseStrictHitSquareTheyAreInAndFlyOn) {
  addTurret(100, 50, kFloorTurret);
  addTurret(106, 54, kCeilingTurret);  // overlapping the first
  addTurret(200, 50, kFloorTurret);
  spawnAt(110, 60);
  spawnAt(200, 57);  // on the square's left border
  spawnAt(215, 57);  // on its right border
  spawnAt(207, 65);  // on its bottom border
  updateShots();
  EXPECT_EQ(turrets[0].kind + turrets[1].kind, 0);
  EXPECT_EQ(turrets[2].kind, kFloorTurret);
  EXPECT_EQ(gameState.score, 10);
  EXPECT_EQ(live(shots), 4);
}

TEST_F(Shots, HitFromTheirLastPositionWhenRockOrTheirLifeEndsTheirFlight) {
  addTurret(100, 50);
  putPixel(105, 55, 3);  // rock inside the turret's hit square
  spawnAt(104, 55, 1, 0);
  addTurret(200, 50);
  spawnAt(205, 55, 0, 0, 0.5f);
  placeShip(2, 100);  // beside the view's edge
  spawnAt(0, 100);
  updateShots();
  EXPECT_EQ(live(shots), 0);
  EXPECT_EQ(gameState.score, 10);
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(Shots, HitTheShipWithinFourWholePixelsEachWay) {
  placeShip(160, 100);
  const float offsets[][3] = {{4.9f, -4.9f, 1}, {-4.9f, 4.9f, 1}, {5, 0, 0}, {0, -5, 0}};
  for (const auto& [dx, dy, hit] : offsets) {
    resetShots();
    clearFrame(0, kScreenHeight);
    levelState.shipDestroyed = 0;
    spawnAt(160 + dx, 100 + dy);
    updateShots();
    EXPECT_EQ(levelState.shipDestroyed, static_cast<int>(hit)) << dx << ", " << dy;
  }
}

TEST_F(Shots, AShotWhoseLifeRunsOutExactlyHitsNothingAfterwards) {
  spawnAt(160, 100, 0, 0, 1);  // one frame of life leaves exactly 0
  updateShots();
  placeShip(160, 100);
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
}

TEST_F(Shots, DestroyTheTowedBallWithinTwoPixelsButPassItOnItsStand) {
  levelState.ballX = kCameraX + 200;
  levelState.ballY = kCameraY + 120;
  levelState.ballTowed = 1;
  spawnAt(203, 120);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 0);
  spawnAt(202.9f, 117.1f);  // differences 2.9 and -2.9 truncate to 2 and -2
  for (int towed : {0, 1}) {
    levelState.ballTowed = towed;
    clearFrame(0, kScreenHeight);
    updateShots();
    EXPECT_EQ(levelState.ballDestroyed, towed);
  }
}

TEST_F(Shots, StayWhilePausedButAreStillTestedAndDrawn) {
  levelState.dt = 0;
  addTurret(100, 50);
  placeShip(200, 100);
  spawnAt(105, 55, 3, 3, 7);
  spawnAt(203, 97, -3, 3, 7);
  for (int frame = 0; frame < 3; ++frame) {
    clearFrame(0, kScreenHeight);
    updateShots();
  }
  EXPECT_FLOAT_EQ(shots[0].x, kCameraX + 105);
  EXPECT_FLOAT_EQ(shots[0].life, 7);
  EXPECT_EQ(gameState.score, 5);
  EXPECT_EQ(levelState.shipDestroyed, 1);
  EXPECT_EQ(paintedPixels(), (std::vector<std::string>{"105,55", "203,97"}));
}

// The flight point in the middle of the view, shots at 2 pixels per unit, countdowns of
// 10..1509, and a step of 0.6 units (6 ticks).
class Turrets : public EmptyView {
 protected:
  void SetUp() override {
    EmptyView::SetUp();
    levelState.flightX = kCameraX + 160;
    levelState.flightY = kCameraY + 100;
    levelState.dt = 0.6f;
    levelState.turretShotSpeed = 2.0f;
    levelState.turretReloadRange = 1500;
  }
  // A countdown drawn afresh: 10 to 1509 tenths of a time unit.
  static bool freshReload(const Turret& turret) {
    return turret.reload >= 10 && turret.reload <= 1509;
  }
  // A shot as its screen position, speed and life.
  static std::vector<float> shot(int i) {
    const Shot& s = shots[i];
    return {s.x - kCameraX, s.y - kCameraY, s.vx, s.vy, s.life};
  }
};

TEST_F(Turrets, FireFromTheirMuzzleAtTheFlightPointWithTheRangeOfTheirKind) {
  addTurret(152, 150, kFloorTurret);   // below the flight point: straight up
  addTurret(152, 50, kCeilingTurret);  // above it: straight down
  addTurret(122, 141, kFloorTurret);   // muzzle 30 left of it and 40 below
  levelState.turretReloadRange = 0;
  updateTurrets();
  EXPECT_EQ(turrets[0].reload, 10) << "a reload range of 0 gives the shortest countdown";
  EXPECT_EQ(shot(0), (std::vector<float>{160, 149, 0, -2, 100}));
  EXPECT_EQ(shot(1), (std::vector<float>{160, 67, 0, 2, 60}));
  EXPECT_EQ(shot(2), (std::vector<float>{130, 140, 1.2f, -1.6f, 100}));
  updateShots();
  EXPECT_EQ(live(shots), 3) << "a turret's own shot leaves it unharmed";
}

TEST_F(Turrets, OnTheFirstFrameFireWithTheirTopLeftCornerInViewAndTheShipOnTheirOpenSide) {
  levelState.dt = 29 / 50.0f;  // frameMs 30 moved one step towards the measured time
  for (auto [sx, sy] :
       {std::pair{-1, 110}, {320, 110}, {100, 200}, {0, 110}, {319, 110}, {100, 199}})
    addTurret(sx, sy);
  addTurret(100, -1, kCeilingTurret);
  addTurret(100, 30, kCeilingTurret);
  addTurret(140, 30);  // the ship below it
  updateTurrets();
  EXPECT_EQ(live(shots), 4);
  EXPECT_TRUE(freshReload(turrets[0])) << "one pixel left of the view: no shot, a new countdown";
}

TEST_F(Turrets, WithAFullPoolStillPlayTheSoundAndRedrawTheCountdown) {
  for (int i = 0; i < kShotSlots; ++i) spawnShot(1050 + i, 460, 0, 0, 10);
  Turret& turret = addTurret(60, 150);
  settings.effectsOn = 1;  // each effect then moves effectChannel on: 1, 2, 3, 1, ...
  const int channel = effectChannel;
  updateTurrets();
  EXPECT_EQ(effectChannel, channel % 3 + 1) << "the sound was played";
  EXPECT_TRUE(freshReload(turret));
  for (int i = 0; i < kShotSlots; ++i) EXPECT_FLOAT_EQ(shots[i].x, 1050 + i) << i;
}

}  // namespace
