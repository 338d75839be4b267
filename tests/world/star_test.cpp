#include "world/stars.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/level_state.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

TEST(Stars, EveryThirdColumnOfTheSkyAtARandomRow) {
  srandom(5);
  long rows[kStarCount];
  for (long& row : rows) row = random() % 500;
  srandom(5);
  makeStars();
  for (int i = 0; i < kStarCount; ++i) {
    EXPECT_EQ(stars[i].x, 3 * i);
    EXPECT_EQ(stars[i].y, rows[i]);
  }
}

TEST(Stars, ANewFieldAtEveryLevelStart) {
  makeStars();
  Star first[kStarCount];
  std::copy(std::begin(stars), std::end(stars), first);
  makeStars();
  int moved = 0;
  for (int i = 0; i < kStarCount; ++i) moved += first[i].y != stars[i].y ? 1 : 0;
  EXPECT_GT(moved, 700);
}

TEST(Stars, DrawnInTheGreyRampByIndexInsideTheViewOnly) {
  startHeadlessVideo();
  for (int i = 0; i < kStarCount; ++i) stars[i] = Star{3 * i, 1000};  // out of view
  stars[17] = Star{51, 300};
  stars[20] = Star{60, 300};
  stars[100] = Star{300, 250};
  levelState.cameraX = 0;
  levelState.cameraY = 250;
  drawStars();
  EXPECT_EQ(getPixel(51, 50), 16 + 1);
  EXPECT_EQ(getPixel(60, 50), 16 + 4);
  EXPECT_EQ(getPixel(300, 0), 16 + 4);
  EXPECT_EQ(paintedPixels().size(), 3u);
}

TEST(Stars, BlackStarsAreStillPaintedPixelsOnlyAsBlack) {
  startHeadlessVideo();
  for (int i = 0; i < kStarCount; ++i) stars[i] = Star{3 * i, 1000};
  stars[32] = Star{96, 10};  // 32 mod 16 = 0: colour 16, black in the palette
  levelState.cameraX = 0;
  levelState.cameraY = 0;
  drawStars();
  EXPECT_EQ(getPixel(96, 10), 16);
}

TEST(Stars, TheViewsEdgesAreInclusive) {
  startHeadlessVideo();
  for (int i = 0; i < kStarCount; ++i) stars[i] = Star{3 * i, 1000};
  stars[1] = Star{319, 0};
  stars[2] = Star{0, 199};
  stars[3] = Star{320, 0};
  stars[4] = Star{0, 200};
  levelState.cameraX = 0;
  levelState.cameraY = 0;
  drawStars();
  EXPECT_EQ(paintedPixels().size(), 2u);
}

}  // namespace
