#include "world/terrain.h"

#include <algorithm>

#include "app/level_state.h"
#include "video/frame_buffer.h"
#include "world/level_data.h"

namespace {

constexpr int kMapLeft = 250, kMapTop = 5;
constexpr int kMapColumns = 61, kMapRows = 41;
constexpr int kMapScale = 16;
constexpr int kMapCentre = 20;  // the map cell that holds the reference point
constexpr int kMapReferenceMinX = 320, kMapReferenceMaxX = 1744;

bool bothBelow(int a, int b, int limit) {
  return a < limit && b < limit;
}
bool bothAbove(int a, int b, int limit) {
  return a > limit && b > limit;
}

}  // namespace

void drawTerrain() {
  const int cameraX = levelState.cameraX, cameraY = levelState.cameraY;
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    int sx1 = box.x1 - cameraX, sy1 = box.y1 - cameraY;
    int sx2 = box.x2 - cameraX, sy2 = box.y2 - cameraY;
    if (sx2 < 0 || sx1 >= kScreenWidth || sy2 < 0 || sy1 >= kScreenHeight) continue;
    fillRect(std::clamp(sx1, 0, kScreenWidth - 1), std::clamp(sy1, 0, kScreenHeight - 1),
             std::clamp(sx2, 0, kScreenWidth - 1), std::clamp(sy2, 0, kScreenHeight - 1),
             static_cast<uint8_t>(box.colour));
  }
}

void drawMap() {
  fillRect(kMapLeft - 1, kMapTop - 1, kMapLeft + kMapColumns, kMapTop + kMapRows, 3);
  fillRect(kMapLeft, kMapTop, kMapLeft + kMapColumns - 1, kMapTop + kMapRows - 1, 0);
  const int rx = std::clamp(levelState.cameraX, kMapReferenceMinX, kMapReferenceMaxX);
  const int ry = levelState.cameraY;
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    int mx1 = (box.x1 - rx) / kMapScale + kMapCentre, my1 = (box.y1 - ry) / kMapScale + kMapCentre;
    int mx2 = (box.x2 - rx) / kMapScale + kMapCentre, my2 = (box.y2 - ry) / kMapScale + kMapCentre;
    if (bothBelow(mx1, mx2, 0) || bothAbove(mx1, mx2, kMapColumns - 1)) continue;
    if (bothBelow(my1, my2, 0) || bothAbove(my1, my2, kMapRows - 1)) continue;
    fillRect(kMapLeft + std::clamp(mx1, 0, kMapColumns - 1),
             kMapTop + std::clamp(my1, 0, kMapRows - 1),
             kMapLeft + std::clamp(mx2, 0, kMapColumns - 1),
             kMapTop + std::clamp(my2, 0, kMapRows - 1), static_cast<uint8_t>(box.colour));
  }
}
