// The ship: the world's wrap, its outline and the contact test at its six
// points. Its flight and the camera following it are pinned by the playthrough
// and the frames' digests.
#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "app/ship.h"
#include "level_fixture.h"
#include "sound/sound_effects.h"
#include "video/draw.h"
#include "world/ship_outline.h"

namespace {

class Ship : public testing::Test {
 protected:
  void SetUp() override {
    prepareEmptyLevel();
    placeCamera(0);
    levelState.dt = 1.0f;
    levelState.craftColour = 29;
  }
  // At the start, with the camera this far right of the view centred on the ship.
  static void placeCamera(int gapX) {
    placeShipAtStart();
    levelState.cameraX += gapX;
  }
  // Whether the ship nose up at (100, 100) hits a pixel of the colour at (100 + dx, 100 + dy).
  static bool hitsWith(int dx, int dy, uint8_t colour) {
    clearFrame(0, kScreenHeight);
    levelState.shipDestroyed = 0;
    putPixel(100 + dx, 100 + dy, colour);
    drawShip(100, 100, 3.1415927f);
    return levelState.shipDestroyed == 1;
  }
};

TEST_F(Ship, TheWorldWrapsBy2080WhenTheCameraLeavesColumns0To2080) {
  const std::array<int, 4> cases[] = {{0, 100, 2180, 2068},       // the camera steps 12 left
                                      {2080, 2300, 220, 11},      // 11 right
                                      {2080, 2240, 2240, 2080}};  // none
  for (auto [cameraX, posX, afterX, afterCameraX] : cases) {
    placeCamera(cameraX - 1040);
    levelState.posX = static_cast<float>(posX);
    stepShip();
    EXPECT_FLOAT_EQ(levelState.posX, afterX) << posX;
    EXPECT_EQ(levelState.shipX, afterX) << posX;
    EXPECT_EQ(levelState.cameraX, afterCameraX) << posX;
  }
}

TEST_F(Ship, HitsAtItsSixTestPointsBelowRow500AndNeverOnItsOwnColour) {
  levelState.shipY = 600;
  for (auto [dx, dy] : {std::pair{0, -8}, {6, 5}, {3, 7}, {-2, 7}, {-5, 5}})
    EXPECT_TRUE(hitsWith(dx, dy, 66)) << dx << "," << dy;
  EXPECT_FALSE(hitsWith(3, -2, 66)) << "under a side line";
  EXPECT_FALSE(hitsWith(0, -8, 29));
  levelState.craftColour = 20;  // fading while leaving
  EXPECT_FALSE(hitsWith(0, -8, 20));
  EXPECT_TRUE(hitsWith(0, -8, 29));
  levelState.shipY = 500;
  EXPECT_FALSE(hitsWith(0, -8, 66));
  levelState.shipY = 501;
  EXPECT_TRUE(hitsWith(0, -8, 66));
}

}  // namespace
