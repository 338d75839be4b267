// Shots: where they stop, what they hit from their last position, the pool,
// and the pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "level_support.h"
#include "video/frame_buffer.h"
#include "world/shots.h"

namespace {

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
  static std::vector<std::string> sortedPainted() {
    std::vector<std::string> painted = paintedPixels();
    std::sort(painted.begin(), painted.end());
    return painted;
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
  EXPECT_EQ(sortedPainted(), (std::vector<std::string>{"1,100", "1,150", "100,1", "100,198",
                                                       "200,80", "201,50", "318,100"}));
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

TEST_F(Shots, TheShipsOwnShotKillsItWhenTheShipCatchesUp) {
  placeShip(160, 100);
  spawnAt(160, 88, 0, 6, 30);  // fired 12 pixels ahead of the nose
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 0);
  placeShip(160, 98);
  updateShots();
  EXPECT_EQ(levelState.shipDestroyed, 1);
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

TEST_F(Shots, TakeTheLowestFreeRecordAndTheFiftyFirstIsDropped) {
  for (int i = 0; i < kShotSlots; ++i) spawnAt(5 + i * 5, 20 + i);
  shots[2].life = 0;
  spawnShot(1, 2, 3, 4, 5);
  EXPECT_FLOAT_EQ(shots[2].vy, 4);
  spawnShot(kCameraX + 100, kCameraY + 100, 1, 1, 99);
  for (int i = 0; i < kShotSlots; ++i) EXPECT_NE(shots[i].life, 99) << i;
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
  EXPECT_EQ(sortedPainted(), (std::vector<std::string>{"105,55", "203,97"}));
}

}  // namespace
