#include <gtest/gtest.h>

#include <functional>

#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

// The pixels that the drawing changes in a frame of the background colour, as "x,y=colour".
std::vector<std::string> drawn(const std::function<void()>& draw, int background = 0) {
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, background);
  draw();
  std::vector<std::string> changed;
  for (int i = 0; i < kFrameBytes; ++i) {
    if (frameBuffer.pixels[i] == background) continue;
    changed.push_back(std::to_string(i % 320) + "," + std::to_string(i / 320) + "=" +
                      std::to_string(frameBuffer.pixels[i]));
  }
  return changed;
}

TEST(DrawText, TheFontsGlyphsInFourPixelCellsBlankCodesAdvanceAndEdgesCutNotWrap) {
  EXPECT_EQ(digestOf(fontGlyphs.rows, sizeof fontGlyphs.rows), 5918956002640880240u);
  EXPECT_TRUE(drawn([] { drawTextOpaque(10, 10, 15, ""); }, 9).empty());
  EXPECT_TRUE(drawn([] { drawText(0, 0, 15, "a\x14\x15 &^\xc4\xff"); }).empty());
  EXPECT_EQ(drawn([] { drawText(0, 0, 15, "a\x14\x15I"); }),  // only the I, in the fourth cell
            (std::vector<std::string>{"13,0=15", "13,1=15", "13,2=15", "13,3=15", "13,4=15"}));
  EXPECT_EQ(drawn([] { drawText(10, 10, 15, "AB"); }).size(), 20u);
  EXPECT_EQ(drawn([] { drawText(316, 197, 15, "HH"); }),
            (std::vector<std::string>{"316,197=15", "318,197=15", "316,198=15", "318,198=15",
                                      "316,199=15", "317,199=15", "318,199=15"}));
}

TEST(DrawText, OpaqueTextBlanksTheGlyphAreaButNotTheGap) {
  // The A's 3x5 area in 15 and 0, the space's in 0; the gap columns keep the background.
  EXPECT_EQ(drawn([] { drawTextOpaque(10, 10, 15, "A "); }, 9).size(), 30u);
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(11, 10), 15);
  EXPECT_EQ(getPixel(13, 10), 9);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(getPixel(14 + i % 3, 10 + i / 3), 0);
}

TEST(DrawNumber, DigitsRightAlignedOnTheCellAtXWithoutSignOrLeadingZeros) {
  const struct {
    int x, value, textX;
    const char* text;
  } cases[] = {{176, 99, 172, "99"}, {100, 120, 92, "120"}, {50, 0, 50, "0"}, {50, -5, 50, ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(drawn([&] { drawNumber(c.x, 1, 15, c.value); }),
              drawn([&] { drawText(c.textX, 1, 15, c.text); }))
        << c.value;
    EXPECT_EQ(drawn([&] { drawNumberOpaque(c.x, 1, 15, c.value); }, 9),
              drawn([&] { drawTextOpaque(c.textX, 1, 15, c.text); }, 9))
        << c.value;
  }
}

}  // namespace
