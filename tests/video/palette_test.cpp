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

TEST(DefaultPalette, TextColoursFollowTheirBitsExceptBrown) {
  for (int i = 0; i < 16; ++i) {
    int bright = 21 * (i >> 3);
    Rgb expected = {42 * ((i >> 2) & 1) + bright, 42 * ((i >> 1) & 1) + bright,
                    42 * (i & 1) + bright};
    if (i == 6) expected = {42, 21, 0};
    EXPECT_EQ(entry(i), expected) << "entry " << i;
  }
}

TEST(DefaultPalette, GreyRampRunsFromBlackToWhite) {
  const int grey[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(16 + i), (Rgb{grey[i], grey[i], grey[i]}));
}

TEST(DefaultPalette, NineHueCirclesWalkBlueMagentaRedYellowGreenCyan) {
  const int levels[9][5] = {{0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
                            {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
                            {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16}};
  for (int c = 0; c < 9; ++c) {
    const int* L = levels[c];
    for (int j = 0; j < 4; ++j) {
      int base = 32 + 24 * c;
      EXPECT_EQ(entry(base + j), (Rgb{L[j], L[0], L[4]}));
      EXPECT_EQ(entry(base + 4 + j), (Rgb{L[4], L[0], L[4 - j]}));
      EXPECT_EQ(entry(base + 8 + j), (Rgb{L[4], L[j], L[0]}));
      EXPECT_EQ(entry(base + 12 + j), (Rgb{L[4 - j], L[4], L[0]}));
      EXPECT_EQ(entry(base + 16 + j), (Rgb{L[0], L[4], L[j]}));
      EXPECT_EQ(entry(base + 20 + j), (Rgb{L[0], L[4 - j], L[4]}));
    }
  }
}

TEST(DefaultPalette, NamedColoursAndBlackTail) {
  EXPECT_EQ(entry(3), (Rgb{0, 42, 42}));
  EXPECT_EQ(entry(7), (Rgb{42, 42, 42}));
  EXPECT_EQ(entry(14), (Rgb{63, 63, 21}));
  EXPECT_EQ(entry(15), (Rgb{63, 63, 63}));
  EXPECT_EQ(entry(20), (Rgb{14, 14, 14}));
  EXPECT_EQ(entry(25), (Rgb{32, 32, 32}));
  EXPECT_EQ(entry(31), (Rgb{63, 63, 63}));
  EXPECT_EQ(entry(42), (Rgb{63, 31, 0}));
  EXPECT_EQ(entry(43), (Rgb{63, 47, 0}));
  EXPECT_EQ(entry(45), (Rgb{47, 63, 0}));
  EXPECT_EQ(entry(66), (Rgb{63, 47, 31}));
  EXPECT_EQ(entry(114), (Rgb{28, 14, 0}));
  EXPECT_EQ(entry(200), (Rgb{8, 8, 16}));
  for (int i = 248; i < 256; ++i) EXPECT_EQ(entry(i), (Rgb{0, 0, 0}));
}

TEST(LoadPalette, RestoresEntriesThatWereOverwritten) {
  startHeadlessVideo();
  for (int i = 0; i < 64; ++i) setPaletteEntry(180 + i, i, 0, 0);
  EXPECT_EQ(headlessPalette()[200 * 3], 20);
  loadPalette(256, defaultPalette);
  EXPECT_EQ(headlessPalette()[200 * 3 + 0], 8);
  EXPECT_EQ(headlessPalette()[200 * 3 + 1], 8);
  EXPECT_EQ(headlessPalette()[200 * 3 + 2], 16);
}

TEST(LoadPalette, SetsOnlyTheFirstCountEntries) {
  startHeadlessVideo();
  setPaletteEntry(10, 1, 2, 3);
  loadPalette(10, defaultPalette);
  EXPECT_EQ(headlessPalette()[9 * 3 + 2], 63);  // entry 9 is light blue
  EXPECT_EQ(headlessPalette()[10 * 3], 1);
}

}  // namespace
