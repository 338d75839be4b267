#include "screens/title_logo.h"

#include <cmath>

#include "video/frame_buffer.h"
#include "world/level_data.h"

namespace {

// Each letter is a 3x5 pattern of unit cells, merged into upright boxes: corners
// (x1, y1) and (x2, y2) in logo units; colour is always 1 and unused.
const Box titleLogo[] = {
    // K: the stem, and two arms stepping in towards its middle.
    {0, 0, 1, 5, 1},
    {2, 0, 3, 1, 1},
    {1, 1, 2, 2, 1},
    {1, 3, 2, 4, 1},
    {2, 4, 3, 5, 1},
    // R: the stem, the closed bowl, the leg stepping out to the right.
    {4, 0, 5, 5, 1},
    {5, 0, 6, 1, 1},
    {6, 0, 7, 3, 1},
    {5, 2, 6, 3, 1},
    {5, 3, 6, 4, 1},
    {6, 4, 7, 5, 1},
    // A: two legs, the top and the bar.
    {8, 0, 9, 5, 1},
    {10, 0, 11, 5, 1},
    {9, 0, 10, 1, 1},
    {9, 2, 10, 3, 1},
    // V: two arms meeting at the foot.
    {12, 0, 13, 4, 1},
    {14, 0, 15, 4, 1},
    {13, 4, 14, 5, 1},
    // I: top, stem, foot.
    {16, 0, 19, 1, 1},
    {17, 1, 18, 4, 1},
    {16, 4, 19, 5, 1},
    // X: four arms crossing in the middle row.
    {20, 0, 21, 2, 1},
    {22, 0, 23, 2, 1},
    {21, 2, 22, 3, 1},
    {20, 3, 21, 5, 1},
    {22, 3, 23, 5, 1},
};

}  // namespace

void drawTitleLogo(uint32_t angle) {
  // Truncation toward zero, so a negative value leans towards zero: -59.5 gives -59.
  int c = static_cast<int>(120 * std::cos(angle / 90.0) + 0.5);
  int s = static_cast<int>(120 * std::sin(angle / 90.0) + 0.5);
  for (const Box& box : titleLogo) {
    int u = box.x1 - 12;
    int depth = (u * s) / 100;  // of the box's left edge
    int scale = 80 - depth;     // tenths of a pixel per unit
    fillRect((u * c) / 10 + 160, ((box.y1 - 2) * scale) / 10 + 50, ((box.x2 - 12) * c) / 10 + 160,
             ((box.y2 - 2) * scale) / 10 + 50, static_cast<uint8_t>(222 - (u * s) / 70));
  }
}
