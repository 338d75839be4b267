#include "scores/score_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/game_state.h"
#include "app/main_cycle.h"
#include "input/controls.h"
#include "scores/score_table.h"
#include "screens/settings.h"

void resetGameWideState() {
  settings = {1, 0, 1, 0, 0, 50};
  resetScoreTable();
  controls = {};
  gameState = {};
  scoreFilePath[0] = '\0';
}

std::string useScoreFileIn(const std::string& folder) {
  makeScoreFilePath(folder.c_str());
  return scoreFilePath;
}

Bytes readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

void writeBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<Row> tableRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row)
    rows.emplace_back(highScoreNames[row], highScores[row]);
  return rows;
}

std::vector<Row> defaultRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row) rows.emplace_back("TORVA", (20 - row) * 10);
  return rows;
}

std::vector<int> settingsValues() {
  return {settings.effectsOn, settings.speakerOn,      settings.debrisOn,
          settings.mapOn,     settings.statusLineFull, settings.turnSpeed};
}

void setSettings(const std::vector<int>& values) {
  settings = {static_cast<uint8_t>(values[0]), static_cast<uint8_t>(values[1]),
              static_cast<uint8_t>(values[2]), static_cast<uint8_t>(values[3]),
              static_cast<uint8_t>(values[4]), static_cast<uint8_t>(values[5])};
}

uint32_t expectedChecksum(const Bytes& bytes) {
  uint32_t sum = 0;
  for (size_t k = 6; k < 489; ++k) sum += bytes.at(k);
  return 31 * sum;
}

uint32_t storedChecksum(const Bytes& bytes) {
  return bytes.at(489) * 65536u + bytes.at(490) * 256u + bytes.at(491);
}

void storeChecksum(Bytes& bytes, uint32_t checksum) {
  bytes.at(489) = static_cast<uint8_t>(checksum >> 16);
  bytes.at(490) = static_cast<uint8_t>(checksum >> 8);
  bytes.at(491) = static_cast<uint8_t>(checksum);
}
