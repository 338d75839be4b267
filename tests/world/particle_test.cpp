// Debris: explosions and the full pool, the colour steps, the view's edge.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "level_support.h"
#include "video/frame_buffer.h"
#include "world/particles.h"

namespace {

using Debris = EmptyView;

TEST_F(Debris, ExplosionsBurstInto4NPlus1AndTheFullPoolDropsTheRestWithoutALifeDraw) {
  for (auto [size, particles] : {std::pair{10, 41}, {25, 101}}) {
    resetDebris();
    spawnExplosion(1100, 600, size);
    EXPECT_EQ(live(debris), particles);
  }
  resetDebris();
  srandom(11);
  for (int burst = 0; burst < 3; ++burst) spawnExplosion(1100, 600, 20);  // the ship's: 243
  const long next = random();
  EXPECT_EQ(live(debris), 201);
  srandom(11);
  for (int i = 0; i < 243 * 4 + 201; ++i) random();  // four draws each, a life for 201
  EXPECT_EQ(random(), next);
}

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

TEST_F(Debris, AtColumn319IsDrawnAndAt319Point01IsFreed) {
  spawnDebris(kCameraX + 319.0f, kCameraY + 100, 0, 0);
  spawnDebris(kCameraX + 319.01f, kCameraY + 110, 0, 0);
  updateDebris();
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"319,100"});
  EXPECT_EQ(live(debris), 1);
}

}  // namespace
