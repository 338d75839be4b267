// The record of one game: score, ships, level and difficulty, and the flag
// with which the title screen asks the main cycle to end.
#pragma once

#include <cstdint>

struct GameState {
  int score;       // units of 100 points; every screen shows it times 100
  int ships;       // ships left, the one in play included
  int level;       // 0..7, shown plus 1
  int difficulty;  // completed rounds of eight levels, shown plus 1
  uint8_t quitRequested;
};

extern GameState gameState;
