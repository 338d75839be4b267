#include "scores/score_file.h"

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "scores/score_file_place.h"
#include "scores/score_table.h"
#include "state/settings.h"

char scoreFilePath[kScoreFilePathSize];

namespace {

constexpr char kScoreFileName[] = "/.kravix.sco";
constexpr int kSettingsFlags = 5;  // every field but the last, turnSpeed
constexpr int kRecordBytes = 23;
constexpr int kChecksumOffset = kSettingsBytes + kScoreRows * kRecordBytes;  // 489
constexpr uint8_t kScrambleMask = 0x9B;
static_assert(kChecksumOffset + 3 == kScoreFileBytes);

uint8_t scramble(uint8_t plain, int row) {
  return static_cast<uint8_t>((plain ^ kScrambleMask) + row);
}
uint8_t unscramble(uint8_t stored, int row) {
  return static_cast<uint8_t>(static_cast<uint8_t>(stored - row) ^ kScrambleMask);
}

// One of the 30 codes 0x40..0x5D, fresh for every unused name position.
uint8_t fillerByte() {
  return static_cast<uint8_t>(0x40 + random() % 30);
}

void encodeRecord(int row, uint8_t record[kRecordBytes]) {
  uint8_t field[kNameLength];
  for (uint8_t& byte : field) byte = fillerByte();
  size_t length = strnlen(highScoreNames[row], kNameLength);
  std::memcpy(field, highScoreNames[row], length);
  if (length < kNameLength) field[length] = 0;
  record[0] = static_cast<uint8_t>(length);
  for (int j = 0; j < kNameLength; ++j) record[1 + j] = scramble(field[j], row);
  record[21] = static_cast<uint8_t>(highScores[row] >> 8);
  record[22] = static_cast<uint8_t>(highScores[row]);
}

// Positions up to and including L are taken (L may claim more than 20); the
// name ends at its first 0, and after 20 characters at the latest. The rest of
// the field stays 0.
void decodeRecord(int row, const uint8_t record[kRecordBytes]) {
  char* name = highScoreNames[row];
  std::memset(name, 0, kNameField);
  for (int j = 0; j < kNameLength && j <= record[0]; ++j) {
    name[j] = static_cast<char>(unscramble(record[1 + j], row));
    if (name[j] == '\0') break;
  }
  highScores[row] = record[21] * 256u + record[22];
}

// A new file gets the permissions any new file gets; a replaced one keeps its own.
mode_t saveMode(const ScoreFileFound& found) {
  if (found.place == ScoreFilePlace::Own) return found.mode;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

uint8_t* settingsField(int index) {
  uint8_t* fields[kSettingsBytes] = {&settings.effectsOn,      &settings.speakerOn,
                                     &settings.debrisOn,       &settings.mapOn,
                                     &settings.statusLineFull, &settings.turnSpeed};
  return fields[index];
}

bool scoreFileChecksumHolds(const uint8_t bytes[kScoreFileBytes]) {
  uint32_t sum = 0;
  for (int k = kSettingsBytes; k < kChecksumOffset; ++k) sum += bytes[k];
  const uint8_t* stored = bytes + kChecksumOffset;
  return sum == (stored[0] * 65536u + stored[1] * 256u + stored[2]) / 31;
}

void makeScoreFilePath(const char* home) {
  scoreFilePath[0] = '\0';
  if (home == nullptr || home[0] == '\0') return;
  if (std::strlen(home) + std::strlen(kScoreFileName) >= kScoreFilePathSize) return;
  std::strcpy(scoreFilePath, home);
  std::strcat(scoreFilePath, kScoreFileName);
}

void encodeScoreFile(uint8_t bytes[kScoreFileBytes]) {
  for (int index = 0; index < kSettingsBytes; ++index) bytes[index] = *settingsField(index);
  uint32_t sum = 0;
  for (int row = 0; row < kScoreRows; ++row) {
    uint8_t* record = bytes + kSettingsBytes + row * kRecordBytes;
    encodeRecord(row, record);
    for (int k = 0; k < kRecordBytes; ++k) sum += record[k];
  }
  uint32_t checksum = 31 * sum;
  bytes[kChecksumOffset] = static_cast<uint8_t>(checksum >> 16);
  bytes[kChecksumOffset + 1] = static_cast<uint8_t>(checksum >> 8);
  bytes[kChecksumOffset + 2] = static_cast<uint8_t>(checksum);
}

void decodeScoreFile(const uint8_t* bytes, size_t size) {
  uint8_t image[kScoreFileBytes];
  std::memset(image, 255, sizeof image);
  if (size > 0) std::memcpy(image, bytes, size < sizeof image ? size : sizeof image);

  for (int index = 0; index < kSettingsBytes; ++index) *settingsField(index) = image[index];
  for (int row = 0; row < kScoreRows; ++row) {
    decodeRecord(row, image + kSettingsBytes + row * kRecordBytes);
  }
  if (!scoreFileChecksumHolds(image)) resetScoreTable();
}

void bringSettingsIntoRange() {
  for (int index = 0; index < kSettingsFlags; ++index) {
    if (*settingsField(index) != 0) *settingsField(index) = 1;
  }
  if (settings.turnSpeed < 30 || settings.turnSpeed > 70) settings.turnSpeed = 50;
}

void loadScoreFile() {
  if (scoreFilePath[0] == '\0') return;
  removeSaveLeftovers(scoreFilePath);
  uint8_t bytes[kScoreFileBytes];
  ScoreFileFound found = inspectScoreFile(scoreFilePath, bytes, sizeof bytes);
  if (found.place == ScoreFilePlace::Missing) return;
  if (!mayReplace(found)) reportLeftAlone(scoreFilePath, found);
  bool read = found.place == ScoreFilePlace::Own || found.place == ScoreFilePlace::Foreign;
  if (!read) return;
  decodeScoreFile(bytes, found.size);
  bringSettingsIntoRange();
}

void saveScoreFile() {
  if (scoreFilePath[0] == '\0') return;
  ScoreFileFound found = inspectScoreFile(scoreFilePath, nullptr, 0);
  if (!mayReplace(found)) {
    reportLeftAlone(scoreFilePath, found);
    return;
  }
  uint8_t bytes[kScoreFileBytes];
  encodeScoreFile(bytes);
  int error = 0;
  SaveResult result =
      replaceThroughTemporary(scoreFilePath, bytes, sizeof bytes, saveMode(found), &error);
  if (result == SaveResult::Saved) {
    forgetReports();
    return;
  }
  int temporaryError = error;
  bool inPlace = result == SaveResult::NoTemporaryFile && found.place == ScoreFilePlace::Own &&
                 rewriteInPlace(scoreFilePath, found, bytes, sizeof bytes, &error);
  if (inPlace) reportSavedInPlace(scoreFilePath, temporaryError);
  if (!inPlace) reportSaveFailed(scoreFilePath, error);
}
