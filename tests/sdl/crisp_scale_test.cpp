#include "platform/sdl/crisp_scale.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "crisp_reference.h"

namespace {

struct Picture {
  std::vector<uint8_t> indices = std::vector<uint8_t>(64000);
  std::array<uint8_t, 3> colours[256];
  uint32_t packed[256];
};

// Stripes, single pixels and a gradient: every neighbour pair differs somewhere.
Picture testPicture() {
  Picture picture;
  for (int i = 0; i < 64000; ++i) {
    int x = i % 320, y = i / 320;
    picture.indices[i] = static_cast<uint8_t>((x * 7 + y * 13 + (x * y) % 5) & 0xFF);
  }
  for (int i = 0; i < 256; ++i) {
    picture.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                          static_cast<uint8_t>(i * 37)};
    picture.packed[i] = 0xFF000000u | picture.colours[i][0] << 16 | picture.colours[i][1] << 8 |
                        picture.colours[i][2];
  }
  return picture;
}

void expectRuleHolds(int width, int height) {
  Picture picture = testPicture();
  auto scale = std::make_unique<CrispScale>();
  prepareCrispScale(*scale, width, height);
  std::vector<uint32_t> out(static_cast<size_t>(width) * height);
  crispScale(*scale, picture.indices.data(), picture.packed, out.data(), width * 4);
  const ReferenceScale reference = referenceScale(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = out[static_cast<size_t>(y) * width + x];
      auto wanted = referencePixel(reference, picture.indices.data(), picture.colours, x, y);
      // Exact where one source pixel lies under the output pixel, within the 8-bit weights' error
      // elsewhere.
      double tolerance = coversOnePixel(reference, x, y) ? 0.0 : 2.0;
      for (int c = 0; c < 3; ++c) {
        double shown = pixel >> (16 - 8 * c) & 0xFF;
        ASSERT_LE(std::abs(shown - wanted[c]), tolerance + 0.5)
            << width << "x" << height << " at " << x << "," << y << " component " << c;
      }
    }
  }
}

TEST(CrispScale, EveryOutputPixelIsTheShareWeightedMixOfTheSourcePixelsUnderIt) {
  for (auto [width, height] :
       {std::pair{320, 240}, {960, 720}, {1440, 1080}, {1000, 750}, {427, 320}, {640, 400}}) {
    expectRuleHolds(width, height);
  }
}

TEST(CrispScale, ThePictureIsTheLargestFourByThreeRectangleCentred) {
  auto expectArea = [](int w, int h, PictureArea wanted) {
    PictureArea area = pictureArea(w, h);
    EXPECT_EQ(area.x, wanted.x);
    EXPECT_EQ(area.y, wanted.y);
    EXPECT_EQ(area.width, wanted.width);
    EXPECT_EQ(area.height, wanted.height);
  };
  expectArea(960, 720, {0, 0, 960, 720});
  expectArea(1920, 1080, {240, 0, 1440, 1080});
  expectArea(800, 1000, {0, 200, 800, 600});
}

TEST(CrispScale, MixingWeighsEachByteOnItsOwn) {
  EXPECT_EQ(mixPixels(0xFF000000u, 0xFF0000FFu, 0), 0xFF000000u);
  EXPECT_EQ(mixPixels(0x00FF00FFu, 0xFF00FF00u, 128), 0x7F7F7F7Fu);
  EXPECT_EQ(mixPixels(0x10203040u, 0x10203040u, 77), 0x10203040u);
}

}  // namespace
