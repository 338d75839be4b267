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

// The whole table pinned by a digest; the colours the screens name, by number.
TEST(DefaultPalette, KeepsItsColours) {
  EXPECT_EQ(digestOf(defaultPalette.rgb, sizeof defaultPalette.rgb), 9932772870297018855u);
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
