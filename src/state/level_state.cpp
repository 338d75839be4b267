#include "state/level_state.h"

LevelState levelState;

void resumeFromStandstill() {
  levelState.dt = 0;
  levelState.frameMs = 0;
}
