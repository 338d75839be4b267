#include "state/game_state.h"

GameState gameState;
