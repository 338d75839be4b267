// The eight compiled-in level tables and the builder that turns one into the
// run-time box, gate and turret tables and the ball's start. A table is a
// stream of int32: box records (x1 y1 x2 y2 colour) up to a terminator of
// colour 0, the ball's x and y, lastTurret, then lastTurret+1 turrets (x y kind).
#pragma once

#include <cstdint>

struct Box {
  int32_t x1, y1, x2, y2;  // both ends included
  int32_t colour;          // 14 marks a moving gate; 0 only in the terminator
};

constexpr int kLevelCount = 8;
constexpr int kBoxSlots = 2001;
constexpr int kGateBoxColour = 14;

struct LevelTable {
  const int32_t* words;
  int32_t count;
};

// Generated at build time from the level sources; tests may point an entry elsewhere.
extern LevelTable levelTables[kLevelCount];

extern Box boxes[kBoxSlots];
extern int lastBox;  // slot of the terminator: the terrain is slots 0..lastBox-1

// Stores the next integer of level's table in *destination (0 past the table's end).
void readLevelWord(int level, int32_t* destination);
// False when the table has no terminator within the box table: the terrain is
// then the first 2000 boxes and the rest of the table is read as if it followed.
bool buildLevel(int level, int loadTurrets);
