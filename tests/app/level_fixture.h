// A clean level for the app tests: headless video, default settings, three
// ships at level 1, and an empty world (or a few boxes of the test's own).
#pragma once

#include <initializer_list>

#include "input/controls.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/text.h"
#include "world/gates.h"
#include "world/level_data.h"
#include "world/turrets.h"

inline void useBoxes(std::initializer_list<Box> terrain) {
  lastBox = 0;
  for (const Box& box : terrain) boxes[lastBox++] = box;
  boxes[lastBox] = Box{0, 0, 0, 0, 0};
}

inline void prepareEmptyLevel() {
  startHeadlessVideo();
  settings = Settings{1, 0, 1, 0, 0, 50};
  gameState = GameState{0, 3, 0, 0, 0};
  controls = Controls{};
  levelState = LevelState{};
  for (Gate& gate : gates) gate = Gate{};
  useBoxes({});
  turrets[0] = Turret{};
  lastTurret = 0;
}

inline bool showsText(int x, int y, uint8_t colour, const char* text) {
  return showsText(frameBuffer.pixels, x, y, colour, text);
}
