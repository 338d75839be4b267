#include <gtest/gtest.h>

#include <algorithm>
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
    levelState.shipX = levelState.shipY = levelState.ballX = levelState.ballY = -1000;
    gameState = GameState{};
    for (Turret& turret : turrets) turret = Turret{};
    lastTurret = -1;
    resetShots();
  }

  // A shot standing still at screen position (sx, sy).
  static void spawnStill(float sx, float sy, float life = 10) {
    spawnShot(kCameraX + sx, kCameraY + sy, 0, 0, life);
  }
  static void addTurret(int sx, int sy, int kind = kFloorTurret) {
    turrets[++lastTurret] = Turret{kCameraX + sx, kCameraY + sy, kind, 0};
  }
  static bool live(int i) { return shots[i].life > 0; }
  static std::vector<std::string> sortedPainted() {
    std::vector<std::string> painted = paintedPixels();
    std::sort(painted.begin(), painted.end());
    return painted;
  }
};

TEST_F(ShotTest, MovesAgesAndIsDrawnAtItsNearestPixelUntilItsLifeRunsOut) {
  levelState.dt = 0.5f;
  spawnShot(kCameraX + 100, kCameraY + 50.5f, 4, -2, 1);
  updateShots();
  EXPECT_FLOAT_EQ(shots[0].x, kCameraX + 102);
  EXPECT_FLOAT_EQ(shots[0].y, kCameraY + 49.5f);
  EXPECT_FLOAT_EQ(shots[0].life, 0.5f);
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"102,50"});
  EXPECT_EQ(getPixel(102, 50), 28);

  clearFrame(0, kScreenHeight);
  updateShots();
  EXPECT_FALSE(live(0));
  EXPECT_TRUE(paintedPixels().empty());
}

TEST_F(ShotTest, StopsOnTheOuterColumnsAndRowsWithoutBeingDrawnButFliesOneInside) {
  const float outer[][2] = {{0, 10}, {319, 10}, {100, 0}, {100, 199}, {0.49f, 20}, {-5, 30}};
  const float inner[][2] = {{1, 100}, {318, 100}, {100, 1}, {100, 198}, {0.5f, 150}};
  for (const auto& position : outer) spawnStill(position[0], position[1]);
  for (const auto& position : inner) spawnStill(position[0], position[1]);
  updateShots();
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(live(i)) << i;
  for (int i = 6; i < 11; ++i) EXPECT_TRUE(live(i)) << i;
  EXPECT_EQ(sortedPainted(),
            (std::vector<std::string>{"1,100", "1,150", "100,1", "100,198", "318,100"}));
}

TEST_F(ShotTest, StopsAtTheTerrainAndAtAShotDrawnEarlierInTheSamePass) {
  putPixel(101, 50, 3);
  spawnShot(kCameraX + 100, kCameraY + 50, 1, 0, 10);   // into the rock
  spawnShot(kCameraX + 100, kCameraY + 80, 0, 0, 10);   // drawn at (100, 80)
  spawnShot(kCameraX + 101, kCameraY + 80, -1, 0, 10);  // moves onto it
  updateShots();
  EXPECT_FALSE(live(0));
  EXPECT_TRUE(live(1));
  EXPECT_FALSE(live(2));
  EXPECT_EQ(getPixel(101, 50), 3);
}

TEST_F(ShotTest, DestroysEveryTurretWhoseStrictHitSquareItIsInAndFliesOn) {
  addTurret(100, 50, kFloorTurret);
  addTurret(106, 54, kCeilingTurret);  // overlapping the first
  addTurret(200, 50, kFloorTurret);
  spawnStill(110, 60);
  spawnStill(200, 57);  // on the square's left border
  spawnStill(215, 57);  // on its right border
  spawnStill(207, 65);  // on its bottom border
  updateShots();
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(turrets[1].kind, 0);
  EXPECT_EQ(turrets[2].kind, kFloorTurret);
  EXPECT_EQ(gameState.score, 10);
  EXPECT_TRUE(live(0));
}

TEST_F(ShotTest, ItsLastPositionStillHitsWhenRockOrItsLifeEndsItsFlight) {
  addTurret(100, 50);
  putPixel(105, 55, 3);  // rock inside the turret's hit square
  spawnShot(kCameraX + 104, kCameraY + 55, 1, 0, 10);
  addTurret(200, 50);
  spawnStill(205, 55, 0.5f);
  levelState.shipX = kCameraX + 2;  // beside the view's edge
  levelState.shipY = kCameraY + 100;
  spawnStill(0, 100);
  updateShots();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(live(i)) << i;
  EXPECT_EQ(turrets[0].kind, 0);
  EXPECT_EQ(turrets[1].kind, 0);
  EXPECT_EQ(gameState.score, 10);
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(ShotTest, KillsTheShipWithinFourPixelsOnTruncatedDifferences) {
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  spawnStill(165, 100);
  spawnStill(160, 95);
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
  spawnStill(164.9f, 95.1f);  // differences 4.9 and -4.9 truncate to 4 and -4
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(ShotTest, TheShipsOwnShotKillsItWhenTheShipCatchesUp) {
  levelState.shipX = kCameraX + 160;
  levelState.shipY = kCameraY + 100;
  spawnShot(kCameraX + 160, kCameraY + 88, 0, 6, 30);  // fired 12 pixels ahead of the nose
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
  levelState.shipY = kCameraY + 98;
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 1);
}

TEST_F(ShotTest, DestroysTheTowedBallWithinTwoPixelsButPassesItOnItsStand) {
  levelState.ballX = kCameraX + 200;
  levelState.ballY = kCameraY + 120;
  levelState.ballTowed = 1;
  spawnStill(203, 120);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 0);

  levelState.ballTowed = 0;
  spawnStill(202.9f, 117.1f);  // differences 2.9 and -2.9 truncate to 2 and -2
  clearFrame(0, kScreenHeight);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 0);
  EXPECT_TRUE(live(1));

  levelState.ballTowed = 1;
  clearFrame(0, kScreenHeight);
  updateShots();
  EXPECT_EQ(levelState.ballDestroyed, 1);
  EXPECT_EQ(levelState.shipDestroyed, 0);
}

TEST_F(ShotTest, SpawnTakesTheLowestFreeRecordAndTheFiftyFirstIsDropped) {
  for (int i = 0; i < kShotSlots; ++i) spawnStill(5 + i * 5, 20 + i);
  shots[2].life = 0;
  spawnShot(1, 2, 3, 4, 5);
  EXPECT_FLOAT_EQ(shots[2].x, 1);
  EXPECT_FLOAT_EQ(shots[2].vy, 4);

  Shot before[kShotSlots];
  std::copy(std::begin(shots), std::end(shots), before);
  spawnShot(kCameraX + 100, kCameraY + 100, 1, 1, 99);
  for (int i = 0; i < kShotSlots; ++i) {
    EXPECT_EQ(shots[i].x, before[i].x) << i;
    EXPECT_EQ(shots[i].life, before[i].life) << i;
  }
  resetShots();
  for (int i = 0; i < kShotSlots; ++i) EXPECT_FALSE(live(i)) << i;
}

TEST_F(ShotTest, WhilePausedShotsStayButAreTestedAndDrawn) {
  levelState.dt = 0;
  addTurret(100, 50);
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
  EXPECT_EQ(gameState.score, 5);
  EXPECT_EQ(levelState.shipDestroyed, 1);
  EXPECT_EQ(sortedPainted(), (std::vector<std::string>{"105,55", "203,97"}));
}

}  // namespace
