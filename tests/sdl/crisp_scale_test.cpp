// Where the picture sits in the window, how two pixels mix and how a palette
// entry is shown; the window test holds the whole scaled picture to the rule.
#include "platform/sdl/crisp_scale.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/sdl/argb_picture.h"

namespace {

TEST(CrispScale, ThePictureIsTheLargestFourByThreeRectangleCentred) {
  auto area = [](int w, int h) {
    const PictureArea a = pictureArea(w, h);
    return std::array{a.x, a.y, a.width, a.height};
  };
  EXPECT_EQ(area(960, 720), (std::array{0, 0, 960, 720}));
  EXPECT_EQ(area(1920, 1080), (std::array{240, 0, 1440, 1080}));
  EXPECT_EQ(area(800, 1000), (std::array{0, 200, 800, 600}));
}

TEST(CrispScale, MixingWeighsEachByteOnItsOwn) {
  EXPECT_EQ(mixPixels(0xFF000000u, 0xFF0000FFu, 0), 0xFF000000u);
  EXPECT_EQ(mixPixels(0x00FF00FFu, 0xFF00FF00u, 128), 0x7F7F7F7Fu);
  EXPECT_EQ(mixPixels(0x10203040u, 0x10203040u, 77), 0x10203040u);
}

TEST(ArgbPicture, SixBitComponentsAreShownRoundedAndOpaque) {
  const uint8_t black[3] = {0, 0, 0}, white[3] = {63, 63, 63}, mixed[3] = {1, 32, 62};
  EXPECT_EQ(shownColour(black), 0xFF000000u);
  EXPECT_EQ(shownColour(white), 0xFFFFFFFFu);
  EXPECT_EQ(shownColour(mixed), 0xFF0482FBu);  // 4.05, 129.52 and 250.95 rounded
}

}  // namespace
