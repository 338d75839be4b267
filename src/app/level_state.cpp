#include "app/level_state.h"

LevelState levelState;
