#include "app/game.h"

#include "app/game_state.h"

GameState gameState;

// Placeholder until the game sequence lands: a game that ends at once.
void runGame() {}
