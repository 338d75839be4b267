#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/argb_picture.h"

namespace {

TEST(ArgbPicture, SixBitComponentsAreShownRoundedAndOpaque) {
  const uint8_t black[3] = {0, 0, 0}, white[3] = {63, 63, 63}, mixed[3] = {1, 32, 62};
  EXPECT_EQ(shownColour(black), 0xFF000000u);
  EXPECT_EQ(shownColour(white), 0xFFFFFFFFu);
  EXPECT_EQ(shownColour(mixed), 0xFF0482FBu);  // 4.05, 129.52 and 250.95 rounded
}

TEST(ArgbPicture, EveryIndexGoesThroughThePaletteIntoItsRowOfThePitch) {
  std::vector<uint8_t> indices(64000);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 7);
  uint32_t argb[256];
  for (int i = 0; i < 256; ++i) argb[i] = 0xFF000000u | static_cast<uint32_t>(i * 65793);
  std::vector<uint32_t> pixels(330 * 200, 0xDEADBEEFu);  // textures may pad their rows
  convertToArgb(indices.data(), argb, pixels.data(), 330 * 4);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 330; ++x) {
      ASSERT_EQ(pixels[y * 330 + x], x < 320 ? argb[indices[y * 320 + x]] : 0xDEADBEEFu)
          << x << "," << y;
    }
  }
}

}  // namespace
