#include "scores/score_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_cycle.h"
#include "scores/score_table.h"
#include "screens/settings.h"

namespace {

constexpr int kSettingsBytes = 6;
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

// The six Settings fields in their file order.
uint8_t* settingsField(int index) {
  uint8_t* fields[kSettingsBytes] = {&settings.effectsOn,      &settings.speakerOn,
                                     &settings.debrisOn,       &settings.mapOn,
                                     &settings.statusLineFull, &settings.turnSpeed};
  return fields[index];
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

bool writeAll(int fd, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool readUpTo(int fd, uint8_t* bytes, size_t size, size_t* got) {
  *got = 0;
  while (*got < size) {
    ssize_t count = read(fd, bytes + *got, size - *got);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) break;
    *got += static_cast<size_t>(count);
  }
  return true;
}

// The file a save replaces: scoreFilePath with its links followed, so a linked
// score file stays linked. False when something other than a regular file is there.
bool findSaveTarget(char (&target)[PATH_MAX], mode_t* mode) {
  struct stat old {};
  if (stat(scoreFilePath, &old) == 0) {
    if (!S_ISREG(old.st_mode)) return false;
    *mode = old.st_mode & 07777;
    if (realpath(scoreFilePath, target) != nullptr) return true;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    *mode = 0666 & ~mask;
  }
  std::snprintf(target, sizeof target, "%s", scoreFilePath);
  return true;
}

}  // namespace

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
  uint32_t sum = 0;
  for (int row = 0; row < kScoreRows; ++row) {
    const uint8_t* record = image + kSettingsBytes + row * kRecordBytes;
    decodeRecord(row, record);
    for (int k = 0; k < kRecordBytes; ++k) sum += record[k];
  }
  const uint8_t* k = image + kChecksumOffset;
  uint32_t checksum = k[0] * 65536u + k[1] * 256u + k[2];
  if (sum != checksum / 31) resetScoreTable();
}

void bringSettingsIntoRange() {
  for (int index = 0; index < kSettingsFlags; ++index) {
    if (*settingsField(index) != 0) *settingsField(index) = 1;
  }
  if (settings.turnSpeed < 30 || settings.turnSpeed > 70) settings.turnSpeed = 50;
}

void loadScoreFile() {
  if (scoreFilePath[0] == '\0') return;
  // Non-blocking, so that a FIFO in the file's place cannot hang the start.
  int fd = open(scoreFilePath, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat file {};
  uint8_t bytes[kScoreFileBytes];
  size_t got = 0;
  bool readable =
      fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && readUpTo(fd, bytes, sizeof bytes, &got);
  close(fd);
  if (!readable) return;
  decodeScoreFile(bytes, got);
  bringSettingsIntoRange();
}

void saveScoreFile() {
  if (scoreFilePath[0] == '\0') return;
  char target[PATH_MAX];
  mode_t mode = 0;
  if (!findSaveTarget(target, &mode)) return;
  char temporary[PATH_MAX + 8];
  std::snprintf(temporary, sizeof temporary, "%s.XXXXXX", target);
  int fd = mkstemp(temporary);
  if (fd < 0) return;

  uint8_t bytes[kScoreFileBytes];
  encodeScoreFile(bytes);
  // On disk before the rename, so a crash leaves the old file or the new one.
  bool written = fchmod(fd, mode) == 0 && writeAll(fd, bytes, sizeof bytes) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  if (!written || rename(temporary, target) != 0) unlink(temporary);
}
