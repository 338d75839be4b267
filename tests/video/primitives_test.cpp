#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "support/test_support.h"
#include "video/draw.h"
#include "video/frame_buffer.h"

namespace {

using Points = std::set<std::pair<int, int>>;

// The pixels that the drawing sets in a clear frame.
Points drawn(const std::function<void()>& draw) {
  startHeadlessVideo();
  draw();
  Points points;
  for (int i = 0; i < kFrameBytes; ++i) {
    if (frameBuffer.pixels[i] != 0) points.insert({i % kScreenWidth, i / kScreenWidth});
  }
  return points;
}

// A line from its upper or left end: the minor offsets, one digit per major step.
Points along(bool alongX, int x, int y, const std::string& offsets) {
  Points points;
  for (int i = 0; i < static_cast<int>(offsets.size()); ++i) {
    const int offset = offsets[i] - '0';
    points.insert(alongX ? std::pair{x + i, y + offset} : std::pair{x + offset, y + i});
  }
  return points;
}

TEST(DrawLine, OnePixelPerMajorStepOffsetTruncatedFromTheSinglePrecisionSlope) {
  const struct {
    int x1, y1, x2, y2;
    Points expected;
  } cases[] = {
      {5, 5, 5, 5, {{5, 5}}},
      {0, 0, 10, 3, along(true, 0, 0, "00001112223")},
      {10, 3, 0, 0, along(true, 0, 0, "00001112223")},  // drawn from the same end
      {0, 0, 4, 4, along(false, 0, 0, "01234")},
      {0, 0, 10, 7, along(true, 0, 0, "00122344566")},   // ends a pixel short
      {3, 10, 0, 0, along(false, 0, 0, "00001112223")},  // steep, from the upper end
      {-5, 0, 5, 0, along(true, 0, 0, "000000")},        // clipped by putPixel
  };
  for (const auto& c : cases) {
    EXPECT_EQ(drawn([&] { drawLine(c.x1, c.y1, c.x2, c.y2, 1); }), c.expected)
        << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
  }
}

TEST(DrawCircle, AnOutlineOfEightfoldOctantPoints) {
  EXPECT_EQ(drawn([] { drawCircle(50, 50, 0, 1); }), (Points{{50, 50}}));
  EXPECT_EQ(drawn([] { drawCircle(50, 50, 1, 1); }),
            (Points{{50, 49}, {49, 50}, {51, 50}, {50, 51}}));
  // Radius 10: i runs to 7, where h = 7.
  const int h[8] = {10, 10, 10, 10, 9, 9, 8, 7};
  Points ring;
  for (int i = 0; i < 8; ++i) {
    for (int a : {i, -i}) {
      for (int b : {h[i], -h[i]}) ring.insert({{100 + a, 100 + b}, {100 + b, 100 + a}});
    }
  }
  EXPECT_EQ(drawn([] { drawCircle(100, 100, 10, 1); }), ring);
}

TEST(DrawSprite16, WritesEveryByteIncludingZerosClippedPixelByPixel) {
  uint8_t image[256];
  for (int i = 0; i < 256; ++i) image[i] = static_cast<uint8_t>(i);
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, 99);
  drawSprite16(-8, 195, image);
  drawSprite16(310, 10, image);
  for (int y = 195; y < 200; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(getPixel(x, y), (y - 195) * 16 + x + 8) << x << "," << y;
  }
  EXPECT_EQ(getPixel(8, 195), 99);
  EXPECT_EQ(getPixel(319, 25), 249);  // cut at the right edge, not wrapped
  EXPECT_EQ(getPixel(0, 11), 99);
  const uint8_t zeros[256] = {};
  drawSprite16(10, 10, zeros);
  EXPECT_EQ(getPixel(10, 10), 0);
  EXPECT_EQ(getPixel(25, 25), 0);
  EXPECT_EQ(getPixel(26, 26), 99);
}

}  // namespace
