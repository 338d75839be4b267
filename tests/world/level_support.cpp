#include "level_support.h"

#include <algorithm>
#include <deque>

#include "app/level_state.h"
#include "world/gates.h"
#include "world/turrets.h"

SwappedLevelTable::SwappedLevelTable(int level, const std::vector<int32_t>& words)
    : level_(level), saved_(levelTables[level]) {
  levelTables[level] = LevelTable{words.data(), static_cast<int32_t>(words.size())};
}

SwappedLevelTable::~SwappedLevelTable() {
  levelTables[level_] = saved_;
}

CellGrid paintCells() {
  CellGrid grid;
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    for (int row = box.y1 / kCellPixels; row <= box.y2 / kCellPixels; ++row) {
      for (int column = box.x1 / kCellPixels; column <= box.x2 / kCellPixels; ++column) {
        grid.colour[row * kWorldCells + column] = box.colour;
      }
    }
  }
  return grid;
}

namespace {

constexpr int kSide = 32;  // the path's width
constexpr int kSpan = kWorldPixels - kSide + 1;
constexpr int kStartX = 1200, kStartY = 550;
constexpr int kSkyRow = 496;

void fill(std::vector<uint8_t>& solid, int x1, int y1, int x2, int y2) {
  x1 = std::max(x1, 0), y1 = std::max(y1, 0);
  x2 = std::min(x2, kWorldPixels - 1), y2 = std::min(y2, kWorldPixels - 1);
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) solid[y * kWorldPixels + x] = 1;
  }
}

std::vector<uint8_t> solidPixels() {
  std::vector<bool> gateBox(lastBox + 1, false);
  for (const Gate& gate : gates) {
    if (gate.boxIndex != 0) gateBox[gate.boxIndex] = true;
  }
  std::vector<uint8_t> solid(kWorldPixels * kWorldPixels, 0);
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    fill(solid, box.x1, box.y1, gateBox[i] ? box.x1 : box.x2, box.y2);
  }
  for (int i = 0; i <= lastTurret; ++i) {
    if (turrets[i].kind != 0)
      fill(solid, turrets[i].x, turrets[i].y, turrets[i].x + 15, turrets[i].y + 15);
  }
  return solid;
}

// free[y * kSpan + x]: the square with top-left (x, y) touches no solid pixel.
std::vector<uint8_t> freeSquares(const std::vector<uint8_t>& solid) {
  std::vector<uint8_t> rowFree(kWorldPixels * kSpan, 0);
  for (int y = 0; y < kWorldPixels; ++y) {
    int run = 0;  // free pixels ending at x
    for (int x = 0; x < kWorldPixels; ++x) {
      run = solid[y * kWorldPixels + x] ? 0 : run + 1;
      if (run >= kSide) rowFree[y * kSpan + x - kSide + 1] = 1;
    }
  }
  std::vector<uint8_t> squareFree(kSpan * kSpan, 0);
  for (int x = 0; x < kSpan; ++x) {
    int run = 0;
    for (int y = 0; y < kWorldPixels; ++y) {
      run = rowFree[y * kSpan + x] ? run + 1 : 0;
      if (run >= kSide) squareFree[(y - kSide + 1) * kSpan + x] = 1;
    }
  }
  return squareFree;
}

bool nearBall(int x, int y) {
  const int dx = x + kSide / 2 - levelState.ballX, dy = y + kSide / 2 - levelState.ballY;
  return dx * dx + dy * dy < 400;
}

// Breadth-first over square positions from `from`; true when one satisfies `goal`.
template <typename Goal>
bool reachable(const std::vector<uint8_t>& squareFree, int fromX, int fromY, Goal goal, int* atX,
               int* atY) {
  std::vector<uint8_t> seen(kSpan * kSpan, 0);
  std::deque<int> queue;
  if (!squareFree[fromY * kSpan + fromX]) return false;
  queue.push_back(fromY * kSpan + fromX);
  seen[queue.back()] = 1;
  while (!queue.empty()) {
    const int at = queue.front();
    queue.pop_front();
    const int x = at % kSpan, y = at / kSpan;
    if (goal(x, y)) {
      *atX = x, *atY = y;
      return true;
    }
    const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (const auto& [nx, ny] : next) {
      if (nx < 0 || ny < 0 || nx >= kSpan || ny >= kSpan) continue;
      const int index = ny * kSpan + nx;
      if (seen[index] || !squareFree[index]) continue;
      seen[index] = 1;
      queue.push_back(index);
    }
  }
  return false;
}

}  // namespace

PathCheck findWidePath() {
  const std::vector<uint8_t> squareFree = freeSquares(solidPixels());
  PathCheck result;
  int ballX = 0, ballY = 0, skyX = 0, skyY = 0;
  result.ballReached =
      reachable(squareFree, kStartX - kSide / 2, kStartY - kSide / 2, nearBall, &ballX, &ballY);
  if (result.ballReached) {
    result.skyReached = reachable(
        squareFree, ballX, ballY, [](int, int y) { return y + kSide - 1 < kSkyRow; }, &skyX, &skyY);
  }
  return result;
}
