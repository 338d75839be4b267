// Helpers for the high score tests: a known game-wide state, and the table and
// settings as values that print when a check fails.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/game_state.h"
#include "app/main_cycle.h"
#include "input/controls.h"
#include "scores/score_table.h"
#include "screens/settings.h"

using Row = std::pair<std::string, uint32_t>;
const std::vector<int> kDefaultSettings = {1, 0, 1, 0, 0, 50};

inline std::vector<int> settingsValues() {
  const Settings& s = settings;
  return {s.effectsOn, s.speakerOn, s.debrisOn, s.mapOn, s.statusLineFull, s.turnSpeed};
}
inline void setSettings(const std::vector<int>& v) {
  settings = {uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2]),
              uint8_t(v[3]), uint8_t(v[4]), uint8_t(v[5])};
}

// Settings at their start-up defaults, the default table, nothing held, score 0, no file.
inline void resetGameWideState() {
  setSettings(kDefaultSettings);
  resetScoreTable();
  controls = {};
  gameState = {};
  scoreFilePath[0] = '\0';
}

inline std::vector<Row> tableRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row)
    rows.emplace_back(highScoreNames[row], highScores[row]);
  return rows;
}
// Every name TORVA; row i scores (20 - i) * 10.
inline std::vector<Row> defaultRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row) rows.emplace_back("TORVA", (20 - row) * 10);
  return rows;
}
