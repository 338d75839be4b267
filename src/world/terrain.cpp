#include "world/terrain.h"

#include <algorithm>
#include <cstring>

#include "state/level_state.h"
#include "video/frame_buffer.h"
#include "world/level_data.h"

namespace {

constexpr int kMapLeft = 250, kMapTop = 5;
constexpr int kMapColumns = 61, kMapRows = 41;
constexpr int kMapScale = 16;
constexpr int kMapCentre = 20;  // the map cell that holds the reference point
constexpr int kMapReferenceMinX = 320, kMapReferenceMaxX = 1744;
constexpr uint8_t kMapFrameColour = 3;

// d / 16, truncated toward zero, without a division instruction (which the optimiser
// sometimes picks for a constant divisor).
int mapCells(int d) {
  return (d + ((d >> 31) & (kMapScale - 1))) >> 4;
}
static_assert(kMapScale == 1 << 4);

bool bothBelow(int a, int b, int limit) {
  return a < limit && b < limit;
}
bool bothAbove(int a, int b, int limit) {
  return a > limit && b > limit;
}

// The library's memset. Seeing that a size is at most a frame, the optimiser would inline
// a `rep stos` instead, several times slower for the few hundred bytes of a row.
void fillBytes(uint8_t* to, uint8_t colour, size_t bytes) {
  asm("" : "+r"(bytes));
  std::memset(to, colour, bytes);
}

// fillRect for corners already clamped into the frame, in either order. Both passes
// run over hundreds of boxes every frame, so this skips fillRect's checks, and rows
// that span the whole frame are filled as one stretch of memory.
void fillClamped(int x1, int y1, int x2, int y2, uint8_t colour) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  uint8_t* row = &frameBuffer.pixels[y1 * kScreenWidth + x1];
  const int width = x2 - x1 + 1, rows = y2 - y1 + 1;
  if (width == kScreenWidth) {
    fillBytes(row, colour, static_cast<size_t>(width) * rows);
    return;
  }
  for (int y = 0; y < rows; ++y, row += kScreenWidth) fillBytes(row, colour, width);
}

// The map's frame and black interior, a row at a time.
void drawMapWindow() {
  for (int y = kMapTop - 1; y <= kMapTop + kMapRows; ++y) {
    uint8_t* row = &frameBuffer.pixels[y * kScreenWidth + kMapLeft - 1];
    const bool edge = y < kMapTop || y == kMapTop + kMapRows;
    fillBytes(row, edge ? kMapFrameColour : 0, kMapColumns + 2);
    row[0] = row[kMapColumns + 1] = kMapFrameColour;
  }
}

// True when rows a and b (in either order) both lie more than `reach` pixels from `from`
// on the same side: the box is then outside the map window without dividing.
bool bothBeyond(int a, int b, int from, int reach) {
  return (a - from >= reach && b - from >= reach) || (a - from <= -reach && b - from <= -reach);
}

}  // namespace

void drawTerrain() {
  const int cameraX = levelState.cameraX, cameraY = levelState.cameraY;
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    const int sy1 = box.y1 - cameraY, sy2 = box.y2 - cameraY;
    if (sy2 < 0 || sy1 >= kScreenHeight) continue;
    const int sx1 = box.x1 - cameraX, sx2 = box.x2 - cameraX;
    if (sx2 < 0 || sx1 >= kScreenWidth) continue;
    fillClamped(std::clamp(sx1, 0, kScreenWidth - 1), std::clamp(sy1, 0, kScreenHeight - 1),
                std::clamp(sx2, 0, kScreenWidth - 1), std::clamp(sy2, 0, kScreenHeight - 1),
                static_cast<uint8_t>(box.colour));
  }
}

void drawMap() {
  drawMapWindow();
  const int rx = std::clamp(levelState.cameraX, kMapReferenceMinX, kMapReferenceMaxX);
  const int ry = levelState.cameraY;
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    // (d / 16 + 20) > 40 exactly when d >= 336, and < 0 exactly when d <= -336.
    if (bothBeyond(box.y1, box.y2, ry, (kMapRows - kMapCentre) * kMapScale)) continue;
    const int my1 = mapCells(box.y1 - ry) + kMapCentre;
    const int my2 = mapCells(box.y2 - ry) + kMapCentre;
    if (bothBelow(my1, my2, 0) || bothAbove(my1, my2, kMapRows - 1)) continue;
    const int mx1 = mapCells(box.x1 - rx) + kMapCentre;
    const int mx2 = mapCells(box.x2 - rx) + kMapCentre;
    if (bothBelow(mx1, mx2, 0) || bothAbove(mx1, mx2, kMapColumns - 1)) continue;
    fillClamped(kMapLeft + std::clamp(mx1, 0, kMapColumns - 1),
                kMapTop + std::clamp(my1, 0, kMapRows - 1),
                kMapLeft + std::clamp(mx2, 0, kMapColumns - 1),
                kMapTop + std::clamp(my2, 0, kMapRows - 1), static_cast<uint8_t>(box.colour));
  }
}
