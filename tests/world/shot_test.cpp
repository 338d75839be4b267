#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "world/shots.h"
#include "world/turrets.h"

namespace {

constexpr int kCameraX = 1040;
constexpr int kCameraY = 450;
constexpr uint8_t kShotColour = 28;

// A clean level: view at (1040, 450), no turrets, an empty pool, the ship and
// the ball far outside the view, and a time step of one unit.
class ShotTest : public testing::Test {
 protected:
  void SetUp() override {
    startHeadlessVideo();
    levelState = LevelState{};
    levelState.cameraX = kCameraX;
    levelState.cameraY = kCameraY;
    levelState.dt = 1.0f;
    levelState.shipX = levelState.shipY = -1000;
    levelState.ballX = levelState.ballY = -1000;
    gameState = GameState{};
    for (Turret& turret : turrets) turret = Turret{};
    lastTurret = -1;
    resetShots();
  }

  // A still shot at screen position (sx, sy) plus a fraction, in world terms.
  static void spawnStill(float sx, float sy, float life = 10) {
    spawnShot(kCameraX + sx, kCameraY + sy, 0, 0, life);
  }

  static void addTurret(int x, int y, int kind = kFloorTurret) {
    turrets[++lastTurret] = Turret{x, y, kind, 0};
  }

  static int liveShots() {
    int live = 0;
    for (const Shot& shot : shots) live += shot.life > 0;
    return live;
  }
};

TEST_F(ShotTest, MovesByItsSpeedTimesTheStepAndAges) {
  levelState.dt = 0.5f;
  spawnShot(kCameraX + 100, kCameraY + 50, 4, -2, 30);
  updateShots();
  EXPECT_FLOAT_EQ(shots[0].x, kCameraX + 102);
  EXPECT_FLOAT_EQ(shots[0].y, kCameraY + 49);
  EXPECT_FLOAT_EQ(shots[0].life, 29.5f);
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"102,49"});
  EXPECT_EQ(getPixel(102, 49), kShotColour);
}

TEST_F(ShotTest, LandsOnTheNearestPixel) {
  levelState.dt = 0;
  spawnStill(100.49f, 50.5f);
  updateShots();
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"100,51"});
}

TEST_F(ShotTest, ExpiresWhenItsLifeRunsOut) {
  spawnStill(100, 50, 1.0f);
  updateShots();
  EXPECT_LE(shots[0].life, 0);
  EXPECT_TRUE(paintedPixels().empty());
  updateShots();  // a free record is left alone
  EXPECT_LE(shots[0].life, 0);
}

// --- the edge of the view ---

TEST_F(ShotTest, StopsOnTheOuterColumnsAndRowsWithoutBeingDrawn) {
  const float edges[][2] = {{0, 100}, {319, 100}, {100, 0}, {100, 199}, {0.49f, 100}, {-5, 100}};
  for (const auto& edge : edges) spawnStill(edge[0], edge[1]);
  updateShots();
  EXPECT_EQ(liveShots(), 0);
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(ShotTest, FliesOnOnePixelInsideTheEdge) {
  const float inner[][2] = {{1, 100}, {318, 100}, {100, 1}, {100, 198}, {0.5f, 150}};
  for (const auto& position : inner) spawnStill(position[0], position[1]);
  updateShots();
  EXPECT_EQ(liveShots(), 5);
  std::vector<std::string> painted = paintedPixels();
  std::sort(painted.begin(), painted.end());
  EXPECT_EQ(painted, (std::vector<std::string>{"1,100", "1,150", "100,1", "100,198", "318,100"}));
}

// --- painted pixels ---

TEST_F(ShotTest, StopsAtThePaintedPixelItLandsOn) {
  putPixel(101, 50, 3);
  spawnShot(kCameraX + 100, kCameraY + 50, 1, 0, 10);
  updateShots();
  EXPECT_LE(shots[0].life, 0);
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"101,50"});
  EXPECT_EQ(getPixel(101, 50), 3);
}

TEST_F(ShotTest, StopsAtAShotDrawnEarlierInTheSamePass) {
  spawnShot(kCameraX + 100, kCameraY + 50, 0, 0, 10);   // drawn first, at (100, 50)
  spawnShot(kCameraX + 101, kCameraY + 50, -1, 0, 10);  // moves onto it
  updateShots();
  EXPECT_GT(shots[0].life, 0);
  EXPECT_LE(shots[1].life, 0);
}

TEST_F(ShotTest, AShotDrawnLaterInThePassDoesNotStopAnEarlierOne) {
  spawnShot(kCameraX + 101, kCameraY + 50, -1, 0, 10);  // moves to (100, 50) first
  spawnShot(kCameraX + 100, kCameraY + 50, 0, 0, 10);   // then finds it painted
  updateShots();
  EXPECT_GT(shots[0].life, 0);
  EXPECT_LE(shots[1].life, 0);
}

// --- turret hits ---

TEST_F(ShotTest, DestroysATurretInsideItsStrictHitSquareAndFliesOn) {
  addTurret(kCameraX + 100, kCameraY + 50);
  spawnStill(100.5f, 50.5f);
  updateShots();
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(gameState.score, 5);
  EXPECT_GT(shots[0].life, 0);
  EXPECT_EQ(getPixel(101, 51), kShotColour);
}

TEST_F(ShotTest, MissesATurretOnTheBordersOfItsHitSquare) {
  addTurret(kCameraX + 100, kCameraY + 50, kFloorTurret);
  addTurret(kCameraX + 200, kCameraY + 50, kCeilingTurret);
  spawnStill(100, 57);  // offset 0
  spawnStill(115, 57);  // offset 15
  spawnStill(207, 50);  // offset 0
  spawnStill(207, 65);  // offset 15
  updateShots();
  EXPECT_EQ(turrets[0].kind, kFloorTurret);
  EXPECT_EQ(turrets[1].kind, kCeilingTurret);
  EXPECT_EQ(gameState.score, 0);
}

TEST_F(ShotTest, ThroughTwoOverlappingTurretsScoresTen) {
  addTurret(kCameraX + 100, kCameraY + 50, kFloorTurret);
  addTurret(kCameraX + 106, kCameraY + 54, kCeilingTurret);
  addTurret(kCameraX + 140, kCameraY + 50, kFloorTurret);  // out of reach
  spawnStill(110, 60);
  updateShots();
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(turrets[1].kind, 0);
  EXPECT_EQ(turrets[2].kind, kFloorTurret);
  EXPECT_EQ(gameState.score, 10);
}

TEST_F(ShotTest, ADestroyedTurretScoresNoMore) {
  addTurret(kCameraX + 100, kCameraY + 50);
  spawnStill(105, 55);
  updateShots();
  updateShots();
  EXPECT_EQ(gameState.score, 5);
}

TEST_F(ShotTest, ItsLastPositionStillHitsWhenTheTerrainStopsIt) {
  addTurret(kCameraX + 100, kCameraY + 50);
  putPixel(105, 55, 3);  // rock inside the turret's hit square
  spawnShot(kCameraX + 104, kCameraY + 55, 1, 0, 10);
  updateShots();
  EXPECT_LE(shots[0].life, 0);
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(gameState.score, 5);
}

TEST_F(ShotTest, ItsLastPositionStillHitsWhenItsLifeRunsOut) {
  addTurret(kCameraX + 100, kCameraY + 50);
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  spawnShot(kCameraX + 105, kCameraY + 55, 0, 0, 0.5f);
  spawnShot(kCameraX + 164, kCameraY + 104, 0, 0, 0.5f);
  updateShots();
  EXPECT_EQ(liveShots(), 0);
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(levelState.shipDestroyed, 1);
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(ShotTest, ItsLastPositionStillHitsAtTheEdgeOfTheView) {
  levelState.shipX = kCameraX + 2;
  levelState.shipY = kCameraY + 100;
  spawnStill(0, 100);
  updateShots();
  EXPECT_LE(shots[0].life, 0);
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

// --- the ship and the towed ball ---

TEST_F(ShotTest, KillsTheShipWithinFourPixelsOnTruncatedDifferences) {
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  spawnStill(164.9f, 95.1f);  // differences 4.9 and -4.9 truncate to 4 and -4
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(ShotTest, SparesTheShipFivePixelsAway) {
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  spawnStill(165, 100);
  spawnStill(160, 95);
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
}

TEST_F(ShotTest, TheShipsOwnShotKillsItWhenTheShipCatchesUp) {
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  // Fired 12 pixels ahead of the nose; the ship has since flown onto it.
  spawnShot(kCameraX + 160, kCameraY + 88, 0, 6, 30);
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
  levelState.shipY = kCameraY + 98;
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(ShotTest, DestroysTheTowedBallWithinTwoPixels) {
  levelState.ballTowed = 1;
  levelState.ballX = kCameraX + 200;
  levelState.ballY = kCameraY + 120;
  spawnStill(202.9f, 117.1f);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 1);
  EXPECT_EQ(levelState.shipDestroyed, 0);
}

TEST_F(ShotTest, SparesTheTowedBallThreePixelsAway) {
  levelState.ballTowed = 1;
  levelState.ballX = kCameraX + 200;
  levelState.ballY = kCameraY + 120;
  spawnStill(203, 120);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 0);
}

TEST_F(ShotTest, PassesABallStillOnItsStand) {
  levelState.ballTowed = 0;
  levelState.ballX = kCameraX + 200;
  levelState.ballY = kCameraY + 120;
  spawnStill(202, 118);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 0);
  EXPECT_GT(shots[0].life, 0);
}

// --- the pool ---

TEST_F(ShotTest, SpawnFillsTheLowestFreeRecord) {
  for (int i = 0; i < 5; ++i) spawnStill(10 + i, 10);
  shots[2].life = 0;
  spawnShot(1, 2, 3, 4, 5);
  EXPECT_FLOAT_EQ(shots[2].x, 1);
  EXPECT_FLOAT_EQ(shots[2].vy, 4);
  EXPECT_FLOAT_EQ(shots[2].life, 5);
  EXPECT_LE(shots[5].life, 0);
}

TEST_F(ShotTest, TheFiftyFirstShotIsDroppedAndThePoolUnchanged) {
  for (int i = 0; i < kShotSlots; ++i) spawnStill(5 + i * 5, 20 + i);
  Shot before[kShotSlots];
  std::copy(std::begin(shots), std::end(shots), before);
  spawnShot(kCameraX + 100, kCameraY + 100, 1, 1, 99);
  for (int i = 0; i < kShotSlots; ++i) {
    EXPECT_EQ(shots[i].x, before[i].x) << i;
    EXPECT_EQ(shots[i].y, before[i].y) << i;
    EXPECT_EQ(shots[i].life, before[i].life) << i;
  }
}

TEST_F(ShotTest, ResetFreesEveryRecord) {
  for (int i = 0; i < kShotSlots; ++i) spawnStill(5 + i * 5, 20);
  resetShots();
  EXPECT_EQ(liveShots(), 0);
  updateShots();
  EXPECT_TRUE(paintedPixels().empty());
}

// --- pause ---

TEST_F(ShotTest, WhilePausedShotsStayButAreTestedAndDrawn) {
  levelState.dt = 0;
  addTurret(kCameraX + 100, kCameraY + 50);
  levelState.shipX = kCameraX + 200;
  levelState.shipY = kCameraY + 100;
  spawnShot(kCameraX + 105, kCameraY + 55, 3, 3, 7);
  spawnShot(kCameraX + 203, kCameraY + 97, -3, 3, 7);
  for (int frame = 0; frame < 3; ++frame) {
    clearFrame(0, kScreenHeight);
    updateShots();
  }
  EXPECT_FLOAT_EQ(shots[0].x, kCameraX + 105);
  EXPECT_FLOAT_EQ(shots[0].y, kCameraY + 55);
  EXPECT_FLOAT_EQ(shots[0].life, 7);
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(gameState.score, 5);
  EXPECT_EQ(levelState.shipDestroyed, 1);
  EXPECT_EQ(paintedPixels(), (std::vector<std::string>{"105,55", "203,97"}));
}

}  // namespace
