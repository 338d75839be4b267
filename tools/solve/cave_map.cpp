#include "cave_map.h"

#include <algorithm>
#include <cmath>
#include <queue>
#include <utility>

#include "platform/vga.h"
#include "state/level_state.h"
#include "world/level_data.h"
#include "world/turrets.h"

namespace {

constexpr int kSkyRow = 496;        // no rock lies above this row
constexpr float kShipRoom = 7;      // the ship alone, at its narrowest
constexpr float kPairRoom = 11;     // the towed pair, lined up along a passage
constexpr float kComfortRoom = 22;  // room beyond which a cell costs no extra
constexpr float kCrowdingCost = 3;  // extra cost per step in a cell with no room to spare
constexpr float kHoverAboveBall = 16;

int cellIndex(int cx, int cy) {
  return cy * kMapCells + cx;
}

void markRect(CaveMap* map, int x1, int y1, int x2, int y2) {
  const int cx1 = std::max(0, std::min(x1, x2) / kCellPixels);
  const int cx2 = std::min(kMapCells - 1, std::max(x1, x2) / kCellPixels);
  const int cy1 = std::max(0, y1 / kCellPixels), cy2 = std::min(kMapCells - 1, y2 / kCellPixels);
  for (int cy = cy1; cy <= cy2; ++cy) {
    for (int cx = cx1; cx <= cx2; ++cx) map->solid[cellIndex(cx, cy)] = 1;
  }
}

void markRock(CaveMap* map) {
  map->solid.assign(kMapCells * kMapCells, 0);
  for (int i = 0; i < lastBox; ++i) {
    const Box& box = boxes[i];
    const bool gate = box.colour == kGateBoxColour;
    markRect(map, box.x1, box.y1, gate ? box.x1 + 7 : box.x2, box.y2);
  }
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& turret = turrets[i];
    if (turret.kind == kFloorTurret || turret.kind == kCeilingTurret) {
      markRect(map, turret.x, turret.y, turret.x + 15, turret.y + 15);
    }
  }
}

// Two-pass chamfer distance (steps 1 and sqrt 2), in pixels.
void measureClearance(CaveMap* map) {
  const float diagonal = 1.4142f * kCellPixels, straight = 1.0f * kCellPixels;
  std::vector<float>& d = map->clearance;
  d.assign(kMapCells * kMapCells, kUnreachable);
  for (int i = 0; i < kMapCells * kMapCells; ++i) {
    if (map->solid[i]) d[i] = 0;
  }
  auto relax = [&](int cx, int cy, int dx, int dy, float step) {
    const int nx = cx + dx, ny = cy + dy;
    if (nx < 0 || ny < 0 || nx >= kMapCells || ny >= kMapCells) return;
    d[cellIndex(cx, cy)] = std::min(d[cellIndex(cx, cy)], d[cellIndex(nx, ny)] + step);
  };
  for (int cy = 0; cy < kMapCells; ++cy) {
    for (int cx = 0; cx < kMapCells; ++cx) {
      relax(cx, cy, -1, 0, straight);
      relax(cx, cy, 0, -1, straight);
      relax(cx, cy, -1, -1, diagonal);
      relax(cx, cy, 1, -1, diagonal);
    }
  }
  for (int cy = kMapCells - 1; cy >= 0; --cy) {
    for (int cx = kMapCells - 1; cx >= 0; --cx) {
      relax(cx, cy, 1, 0, straight);
      relax(cx, cy, 0, 1, straight);
      relax(cx, cy, 1, 1, diagonal);
      relax(cx, cy, -1, 1, diagonal);
    }
  }
}

// The world wraps: when the view passes its left or right side, the flight
// point jumps by 2080 columns, between places that look alike. So a cell of
// the band 0..319 and its twin 2080 columns to the right are one place.
constexpr int kWrapCells = 2080 / kCellPixels, kViewCells = kScreenWidth / kCellPixels;

int twinColumn(int cx) {
  if (cx < kViewCells) return cx + kWrapCells;
  if (cx >= kWrapCells) return cx - kWrapCells;
  return -1;
}

using Entry = std::pair<float, int>;

// Dijkstra from seeded cells over cells with at least `room` pixels of
// clearance; cramped cells cost more, so that routes keep to the middle.
void spreadDistances(const CaveMap& map, float room, std::vector<float>* distances,
                     std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>>* open) {
  std::vector<float>& d = *distances;
  const int steps[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
  while (!open->empty()) {
    const auto [distance, index] = open->top();
    open->pop();
    if (distance > d[index]) continue;
    const int cx = index % kMapCells, cy = index / kMapCells;
    const int twin = twinColumn(cx);
    if (twin >= 0 && map.clearance[cellIndex(twin, cy)] >= room &&
        distance < d[cellIndex(twin, cy)]) {
      d[cellIndex(twin, cy)] = distance;
      open->push({distance, cellIndex(twin, cy)});
    }
    for (const auto& step : steps) {
      const int nx = cx + step[0], ny = cy + step[1];
      if (nx < 0 || ny < 0 || nx >= kMapCells || ny >= kMapCells) continue;
      const int next = cellIndex(nx, ny);
      const float clearance = map.clearance[next];
      if (clearance < room) continue;
      const float length = (step[0] && step[1] ? 1.4142f : 1.0f) * kCellPixels;
      const float crowding = std::max(0.0f, kComfortRoom - clearance) / kComfortRoom;
      const float total = distance + length * (1 + kCrowdingCost * crowding);
      if (total < d[next]) {
        d[next] = total;
        open->push({total, next});
      }
    }
  }
}

void mapToBall(CaveMap* map) {
  map->toBall.assign(kMapCells * kMapCells, kUnreachable);
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  const int cx = levelState.ballX / kCellPixels;
  const int cy = static_cast<int>((levelState.ballY - kHoverAboveBall) / kCellPixels);
  map->toBall[cellIndex(cx, cy)] = 0;
  open.push({0.0f, cellIndex(cx, cy)});
  spreadDistances(*map, kShipRoom, &map->toBall, &open);
}

// Every free cell of the sky is a goal, the higher the better.
void mapToSky(CaveMap* map) {
  map->toSky.assign(kMapCells * kMapCells, kUnreachable);
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  for (int cy = 0; cy * kCellPixels < kSkyRow - 16; ++cy) {
    for (int cx = 0; cx < kMapCells; ++cx) {
      const float distance = static_cast<float>(cy * kCellPixels - kSkyRow);
      map->toSky[cellIndex(cx, cy)] = distance;
      open.push({distance, cellIndex(cx, cy)});
    }
  }
  spreadDistances(*map, kPairRoom, &map->toSky, &open);
}

// Which copy of the band at the seam the game draws depends on where the view
// stands, so a cell there counts as rock when either copy has rock: then the
// two are one place. (Level 8 has a wall in columns 2080..2087 that its copy
// in columns 0..7 lacks: the view never shows the world left of column 0.)
void joinSeam(CaveMap* map) {
  for (int cy = 0; cy < kMapCells; ++cy) {
    for (int cx = 0; cx < kViewCells; ++cx) {
      const uint8_t rock =
          map->solid[cellIndex(cx, cy)] | map->solid[cellIndex(cx + kWrapCells, cy)];
      map->solid[cellIndex(cx, cy)] = map->solid[cellIndex(cx + kWrapCells, cy)] = rock;
    }
  }
}

}  // namespace

void buildCaveMap(CaveMap* map) {
  markRock(map);
  joinSeam(map);
  measureClearance(map);
  mapToBall(map);
  mapToSky(map);
}

float distanceAt(const std::vector<float>& distances, float x, float y) {
  const int cx = static_cast<int>(x) / kCellPixels, cy = static_cast<int>(y) / kCellPixels;
  if (x < 0 || y < 0 || cx >= kMapCells || cy >= kMapCells) return kUnreachable;
  return distances[cellIndex(cx, cy)];
}

float clearanceAt(const CaveMap& map, float x, float y) {
  return distanceAt(map.clearance, x, y);
}
