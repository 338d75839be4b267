// The frame buffer's fills, clipping and presents, sprites clipped pixel by
// pixel, and the palette; lines and circles are pinned by the frames' digests
// (e2e/frames_test).
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "video/palette.h"

namespace {

using Pixels = std::vector<std::string>;

TEST(FrameBuffer, FillRectTakesItsCornersInEitherOrderAndFillsOnlyInsideTheFrame) {
  startHeadlessVideo();
  fillRect(10, 20, 5, 15, 9);
  const Pixels filled = paintedPixels();
  ASSERT_EQ(filled.size(), 36u);  // x 5-10, y 15-20
  EXPECT_EQ(filled.front(), "5,15");
  EXPECT_EQ(filled.back(), "10,20");
  startHeadlessVideo();
  fillRect(7, 8, 7, 8, 4);
  fillRect(-50, -50, 2, 1, 5);
  fillRect(318, 198, 1000, 1000, 6);
  fillRect(400, 10, 500, 20, 7);  // wholly outside
  EXPECT_EQ(paintedPixels(), (Pixels{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1", "7,8", "318,198",
                                     "319,198", "318,199", "319,199"}));
}

TEST(FrameBuffer, PixelsOutsideTheFrameAreNeverWrittenAndReadAsZero) {
  startHeadlessVideo();
  for (auto [x, y] : {std::pair{320, 0}, {-1, 5}, {0, 200}, {5, -1}}) putPixel(x, y, 9);
  EXPECT_TRUE(paintedPixels().empty());
  fillRect(0, 0, 319, 199, 3);
  for (auto [x, y] : {std::pair{0, -1}, {-1, 0}, {320, 10}, {10, 200}})
    EXPECT_EQ(getPixel(x, y), 0);
  EXPECT_EQ(getPixel(319, 199), 3);
}

TEST(FrameBuffer, ShowFramePresentsThenClearsItsRowsWhileCopyFrameKeepsThem) {
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, 8);
  showFrame(0, 200);
  fillRect(0, 0, 319, 199, 5);
  const long presents = headlessPresentCount();
  showFrame(0, 90);
  EXPECT_EQ(headlessPresentCount(), presents + 1);
  const unsigned char* screen = headlessScreen();
  EXPECT_EQ(screen[89 * 320 + 100], 5);  // rows 0..89 made visible
  EXPECT_EQ(screen[90 * 320 + 100], 8);  // rows 90..199 of the screen untouched
  EXPECT_EQ(getPixel(100, 89), 0);       // and cleared in the buffer
  EXPECT_EQ(getPixel(100, 90), 5);       // while the buffer keeps the rest
  clearFrame(12, 100);
  EXPECT_EQ(getPixel(319, 99), 12);
  EXPECT_EQ(getPixel(0, 100), 5);
  copyFrame();
  EXPECT_EQ(screen[99 * 320 + 319], 12);
  EXPECT_EQ(screen[100 * 320], 5);
  EXPECT_EQ(getPixel(319, 99), 12);
}

TEST(DrawSprite16, WritesEveryByteIncludingZerosClippedPixelByPixel) {
  uint8_t image[256];
  for (int i = 0; i < 256; ++i) image[i] = static_cast<uint8_t>(i);
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, 99);
  drawSprite16(-8, 195, image);
  drawSprite16(310, 10, image);
  for (int y = 195; y < 200; ++y) {
    for (int x = 0; x < 9; ++x) EXPECT_EQ(getPixel(x, y), x < 8 ? (y - 195) * 16 + x + 8 : 99);
  }
  EXPECT_EQ(getPixel(319, 25), 249);  // cut at the right edge
  const uint8_t zeros[256] = {};
  drawSprite16(10, 10, zeros);
  EXPECT_TRUE(getPixel(10, 10) == 0 && getPixel(25, 25) == 0 && getPixel(26, 26) == 99);
}

TEST(LoadPalette, SetsTheFirstCountEntriesOfTheDefaultPaletteRestoringOverwrittenOnes) {
  EXPECT_EQ(digestOf(defaultPalette.rgb, sizeof defaultPalette.rgb), 9932772870297018855u);
  startHeadlessVideo();
  for (int i = 0; i < 64; ++i) setPaletteEntry(180 + i, i, 0, 0);
  EXPECT_EQ(headlessPalette()[200 * 3], 20);
  loadPalette(200, defaultPalette);
  EXPECT_EQ(headlessPalette()[199 * 3 + 2], 16);  // entry 199 is (0, 4, 16) again
  EXPECT_EQ(headlessPalette()[200 * 3], 20);      // entry 200 not reached
  loadPalette(256, defaultPalette);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(headlessPalette()[200 * 3 + c], defaultPalette.rgb[200][c]);
}

}  // namespace
