#include "world/stars.h"

#include <cstdlib>

#include "state/level_state.h"
#include "video/frame_buffer.h"

Star stars[kStarCount];

namespace {

constexpr int kStarSpacing = 3;
constexpr int kGreyRamp = 16;  // palette 16..31: black to white

}  // namespace

void makeStars() {
  for (int i = 0; i < kStarCount; ++i) {
    stars[i] = Star{kStarSpacing * i, static_cast<int32_t>(random() % kSkyRows)};
  }
}

void drawStars() {
  for (int i = 0; i < kStarCount; ++i) {
    const int sx = stars[i].x - levelState.cameraX;
    const int sy = stars[i].y - levelState.cameraY;
    if (sx >= 0 && sx <= kScreenWidth - 1 && sy >= 0 && sy <= kScreenHeight - 1) {
      putPixel(sx, sy, static_cast<uint8_t>(kGreyRamp + i % kGreyRamp));
    }
  }
}
