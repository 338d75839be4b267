// Helpers for the world tests: a level table swapped in for one test, the
// built level as a grid of 8x8 cells, and the wide-path search that tells
// whether a ship with its ball can get from the start to the ball and out.
#pragma once

#include <cstdint>
#include <vector>

#include "world/level_data.h"

// Points levelTables[level] at words for the lifetime of the object.
class SwappedLevelTable {
 public:
  SwappedLevelTable(int level, const std::vector<int32_t>& words);
  ~SwappedLevelTable();
  SwappedLevelTable(const SwappedLevelTable&) = delete;
  SwappedLevelTable& operator=(const SwappedLevelTable&) = delete;

 private:
  int level_;
  LevelTable saved_;
};

constexpr int kWorldPixels = 2400;
constexpr int kCellPixels = 8;
constexpr int kWorldCells = kWorldPixels / kCellPixels;

// The built level's boxes (slots 0..lastBox-1) painted cell by cell, later boxes over earlier ones.
struct CellGrid {
  std::vector<int> colour = std::vector<int>(kWorldCells * kWorldCells, 0);
  int at(int column, int row) const { return colour[row * kWorldCells + column]; }
};
CellGrid paintCells();

struct PathCheck {
  bool ballReached = false;  // a square came within 20 pixels of the ball
  bool skyReached = false;   // ... and from there one got above row 496
};
// Searches for a 32x32 square that can slide from the ship's start to the ball and on up into
// the sky, through the built level with every gate at its narrowest and every turret image solid.
PathCheck findWidePath();
