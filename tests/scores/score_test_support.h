// Helpers for the high score tests: a known game-wide state, score files as
// bytes, and the table and settings as values that print when a check fails.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/game_state.h"
#include "app/main_cycle.h"
#include "input/controls.h"
#include "scores/score_table.h"
#include "screens/settings.h"

using Bytes = std::vector<uint8_t>;
using Row = std::pair<std::string, uint32_t>;
const std::vector<int> kDefaultSettings = {1, 0, 1, 0, 0, 50};

inline std::vector<int> settingsValues() {
  return {settings.effectsOn, settings.speakerOn,      settings.debrisOn,
          settings.mapOn,     settings.statusLineFull, settings.turnSpeed};
}
inline void setSettings(const std::vector<int>& v) {
  settings = Settings{uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2]),
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
inline std::vector<Row> defaultRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row) rows.emplace_back("TORVA", (20 - row) * 10);
  return rows;
}
// A table unlike the defaults, so that a load that keeps it is visible.
inline std::vector<Row> fillCustomTable() {
  for (int row = 0; row < kScoreRows; ++row) {
    std::snprintf(highScoreNames[row], kNameField, "PILOT %d", row);
    highScores[row] = 5000u - 100u * row;
  }
  return tableRows();
}

inline Bytes readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}
inline void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
// Names in a folder, sorted; shows leftover temporary files.
inline std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The file's record bytes summed and times 31, and the checksum the file holds.
inline uint32_t expectedChecksum(const Bytes& bytes) {
  uint32_t sum = 0;
  for (size_t k = 6; k < 489; ++k) sum += bytes.at(k);
  return 31 * sum;
}
inline uint32_t storedChecksum(const Bytes& bytes) {
  return bytes.at(489) * 65536u + bytes.at(490) * 256u + bytes.at(491);
}
inline void storeChecksum(Bytes& bytes, uint32_t checksum) {
  for (int i = 0; i < 3; ++i) bytes.at(489 + i) = uint8_t(checksum >> (16 - 8 * i));
}
