#include "app/game.h"

#include "app/game_state.h"
#include "app/level_loop.h"
#include "world/level_data.h"

GameState gameState;

// Placeholder until the game sequence lands: level 1 flown once.
void runGame() {
  buildLevel(0, 1);
  runLevel();
}
