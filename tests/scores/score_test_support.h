// Helpers for the high score tests: a known game-wide state, score files on
// disk as bytes, and the table as (name, score) rows for comparisons.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;
using Row = std::pair<std::string, uint32_t>;

// Settings at their start-up defaults, the default table, nothing held, score 0.
void resetGameWideState();
// Points scoreFilePath at folder/.kravix.sco and returns that path.
std::string useScoreFileIn(const std::string& folder);

Bytes readBytes(const std::string& path);
void writeBytes(const std::string& path, const Bytes& bytes);
// Names in a folder, sorted; shows leftover temporary files.
std::vector<std::string> folderEntries(const std::string& folder);

std::vector<Row> tableRows();
std::vector<Row> defaultRows();
std::vector<int> settingsValues();
void setSettings(const std::vector<int>& values);

// The record sum of a file image times 31, and the checksum that the file holds.
uint32_t expectedChecksum(const Bytes& bytes);
uint32_t storedChecksum(const Bytes& bytes);
void storeChecksum(Bytes& bytes, uint32_t checksum);
