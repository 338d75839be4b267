#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "support/test_support.h"
#include "video/palette.h"

namespace {

// The whole table pinned by a digest.
TEST(DefaultPalette, KeepsItsColours) {
  EXPECT_EQ(digestOf(defaultPalette.rgb, sizeof defaultPalette.rgb), 9932772870297018855u);
}

TEST(LoadPalette, SetsTheFirstCountEntriesRestoringOverwrittenOnes) {
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
