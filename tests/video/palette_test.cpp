#include <gtest/gtest.h>

#include <array>

#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/palette.h"

namespace {

using Rgb = std::array<int, 3>;

Rgb entry(int index) {
  const uint8_t* rgb = defaultPalette.rgb[index];
  return {rgb[0], rgb[1], rgb[2]};
}

TEST(DefaultPalette, TextColoursFollowTheirBitsExceptBrownThenTheGreyRamp) {
  for (int i = 0; i < 16; ++i) {
    const int bright = 21 * (i >> 3);
    const Rgb expected = {42 * ((i >> 2) & 1) + bright, 42 * ((i >> 1) & 1) + bright,
                          42 * (i & 1) + bright};
    EXPECT_EQ(entry(i), i == 6 ? (Rgb{42, 21, 0}) : expected) << "entry " << i;
  }
  const int grey[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(16 + i), (Rgb{grey[i], grey[i], grey[i]}));
}

TEST(DefaultPalette, NineHueCirclesWalkBlueMagentaRedYellowGreenCyanThenBlack) {
  const int levels[9][5] = {{0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
                            {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
                            {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
  for (int c = 0; c < 9; ++c) {
    const int* L = levels[c];
    const int base = 32 + 24 * c;
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(entry(base + j), (Rgb{L[j], L[0], L[4]}));
      EXPECT_EQ(entry(base + 4 + j), (Rgb{L[4], L[0], L[4 - j]}));
      EXPECT_EQ(entry(base + 8 + j), (Rgb{L[4], L[j], L[0]}));
      EXPECT_EQ(entry(base + 12 + j), (Rgb{L[4 - j], L[4], L[0]}));
      EXPECT_EQ(entry(base + 16 + j), (Rgb{L[0], L[4], L[j]}));
      EXPECT_EQ(entry(base + 20 + j), (Rgb{L[0], L[4 - j], L[4]}));
    }
  }
  for (int i = 248; i < 256; ++i) EXPECT_EQ(entry(i), (Rgb{0, 0, 0}));
}

TEST(DefaultPalette, TheColoursTheScreensUseByNumber) {
  const std::pair<int, Rgb> named[] = {{3, {0, 42, 42}},   {7, {42, 42, 42}},  {14, {63, 63, 21}},
                                       {15, {63, 63, 63}}, {20, {14, 14, 14}}, {25, {32, 32, 32}},
                                       {31, {63, 63, 63}}, {42, {63, 31, 0}},  {43, {63, 47, 0}},
                                       {45, {47, 63, 0}},  {66, {63, 47, 31}}, {114, {28, 14, 0}},
                                       {200, {8, 8, 16}}};
  for (const auto& [index, rgb] : named) EXPECT_EQ(entry(index), rgb) << "entry " << index;
}

TEST(LoadPalette, SetsTheFirstCountEntriesRestoringOverwrittenOnes) {
  startHeadlessVideo();
  for (int i = 0; i < 64; ++i) setPaletteEntry(180 + i, i, 0, 0);
  EXPECT_EQ(headlessPalette()[200 * 3], 20);
  loadPalette(200, defaultPalette);
  EXPECT_EQ(headlessPalette()[199 * 3 + 2], 16);  // entry 199 is (0, 4, 16) again
  EXPECT_EQ(headlessPalette()[200 * 3], 20);      // entry 200 not reached
  loadPalette(256, defaultPalette);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(headlessPalette()[200 * 3 + c], entry(200)[c]);
}

}  // namespace
