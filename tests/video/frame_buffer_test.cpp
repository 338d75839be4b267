#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

class FrameBufferTest : public ::testing::Test {
 protected:
  void SetUp() override { startHeadlessVideo(); }
};

TEST_F(FrameBufferTest, FillRectTakesItsCornersInEitherOrder) {
  fillRect(10, 20, 5, 15, 9);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      bool inside = x >= 5 && x <= 10 && y >= 15 && y <= 20;
      ASSERT_EQ(getPixel(x, y), inside ? 9 : 0) << x << "," << y;
    }
  }
}

TEST_F(FrameBufferTest, FillRectWithEqualCornersFillsOnePixel) {
  fillRect(7, 8, 7, 8, 4);
  EXPECT_EQ(paintedPixels(), std::vector<std::string>{"7,8"});
}

TEST_F(FrameBufferTest, FillRectFillsOnlyThePartInsideTheFrame) {
  fillRect(-50, -50, 2, 1, 5);
  fillRect(318, 198, 1000, 1000, 6);
  fillRect(400, 10, 500, 20, 7);  // wholly outside
  EXPECT_EQ(paintedPixels(),
            (std::vector<std::string>{"0,0", "1,0", "2,0", "0,1", "1,1", "2,1", "318,198",
                                      "319,198", "318,199", "319,199"}));
}

TEST_F(FrameBufferTest, PixelsOutsideTheFrameAreNeverWrittenAndReadAsZero) {
  putPixel(320, 0, 9);
  putPixel(-1, 5, 9);
  putPixel(0, 200, 9);
  putPixel(5, -1, 9);
  EXPECT_TRUE(paintedPixels().empty());
  fillRect(0, 0, 319, 199, 3);
  EXPECT_EQ(getPixel(0, -1), 0);
  EXPECT_EQ(getPixel(-1, 0), 0);
  EXPECT_EQ(getPixel(320, 10), 0);
  EXPECT_EQ(getPixel(10, 200), 0);
  EXPECT_EQ(getPixel(319, 199), 3);
}

TEST_F(FrameBufferTest, ShowFrameCopiesThenClearsOnlyTheGivenRows) {
  fillRect(0, 0, 319, 199, 8);
  showFrame(0, 200);
  fillRect(0, 0, 319, 199, 5);
  showFrame(0, 90);
  const unsigned char* screen = headlessScreen();
  EXPECT_EQ(screen[89 * 320 + 100], 5);  // rows 0..89 made visible
  EXPECT_EQ(screen[90 * 320 + 100], 8);  // rows 90..199 of the screen untouched
  EXPECT_EQ(getPixel(100, 89), 0);       // and cleared in the buffer
  EXPECT_EQ(getPixel(100, 90), 5);       // while the buffer keeps the rest
}

TEST_F(FrameBufferTest, ShowFramePresentsOnce) {
  long before = headlessPresentCount();
  showFrame(0, 200);
  EXPECT_EQ(headlessPresentCount(), before + 1);
}

TEST_F(FrameBufferTest, ClearFrameFillsTheFirstRowsWithTheColour) {
  clearFrame(12, 20);
  EXPECT_EQ(getPixel(319, 19), 12);
  EXPECT_EQ(getPixel(0, 20), 0);
}

TEST_F(FrameBufferTest, CopyFrameShowsTheFrameAndKeepsIt) {
  fillRect(100, 100, 110, 110, 14);
  copyFrame();
  EXPECT_EQ(headlessScreen()[105 * 320 + 105], 14);
  EXPECT_EQ(getPixel(105, 105), 14);
}

}  // namespace
