#include "world/ship_outline.h"

#include <cmath>

#include "state/angles.h"
#include "state/level_state.h"
#include "video/draw.h"
#include "video/frame_buffer.h"

namespace {

struct OutlinePoint {
  int x, y;
};

// Ship coordinates before rotation, x right and y down, nose at point 5.
// Lines 0-1, 1-2, 2-3 form the base, 3-4 closes it, 4-5 and 5-6 are the sides.
constexpr OutlinePoint kOutline[7] = {{-6, 6}, {-3, 8}, {3, 8}, {6, 6}, {-6, 6}, {0, -8}, {6, 6}};

OutlinePoint rotate(OutlinePoint point, double cosA, double sinA) {
  const double x = point.x - 0.5, y = point.y - 0.5;
  return OutlinePoint{static_cast<int>(x * cosA + y * sinA), static_cast<int>(x * sinA - y * cosA)};
}

// Everything drawn so far is solid except colour 0 and the ship's own colour.
void testContact(int sx, int sy, const OutlinePoint* rotated) {
  for (int i = 1; i < 7; ++i) {
    const uint8_t colour = getPixel(sx + rotated[i].x, sy + rotated[i].y);
    if (colour != 0 && colour != levelState.craftColour && levelState.shipY > kSkyRows) {
      levelState.shipDestroyed = 1;
    }
  }
}

}  // namespace

void drawShip(int sx, int sy, float a) {
  const double cosA = cosine(a), sinA = sine(a);
  OutlinePoint rotated[7];
  for (int i = 0; i < 7; ++i) rotated[i] = rotate(kOutline[i], cosA, sinA);
  testContact(sx, sy, rotated);
  for (int i = 1; i < 7; ++i) {
    drawLine(sx + rotated[i].x, sy + rotated[i].y, sx + rotated[i - 1].x, sy + rotated[i - 1].y,
             levelState.craftColour);
  }
}
