// The cave as a grid of 2x2-pixel cells, for steering a search: how far each
// free cell lies from the rock, and how far along the cave each cell is from
// a goal (the ball on its stand, or the sky) for a craft that needs a given
// room. Gates count as open but for their first column, which never opens;
// live turrets count as rock.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kCellPixels = 2;
constexpr int kMapCells = 2400 / kCellPixels;
constexpr float kUnreachable = 1e9f;

struct CaveMap {
  std::vector<uint8_t> solid;    // per cell
  std::vector<float> clearance;  // pixels from the cell to the nearest rock
  std::vector<float> toBall;     // along the cave to the ball, for the ship alone
  std::vector<float> toSky;      // along the cave to the sky, for the towed pair
};

// From the level as buildLevel left it (boxes, turrets, levelState.ballX/Y).
void buildCaveMap(CaveMap* map);
// The distance of a world point in one of the maps; kUnreachable off the map or in rock.
float distanceAt(const std::vector<float>& distances, float x, float y);
float clearanceAt(const CaveMap& map, float x, float y);
