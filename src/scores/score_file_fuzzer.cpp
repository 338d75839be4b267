// Any bytes as the score file: the load stays inside its buffers, every name
// ends within its field, scores fit 16 bits, the Settings come out in range,
// and whatever was loaded survives the file image of a save unchanged.
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "state/settings.h"

namespace {

// The input as a regular file of its own (the game reads no links), rewritten for every input.
void useAsScoreFile(const uint8_t* data, size_t size) {
  static char folder[PATH_MAX];
  static int fd = -1;
  if (fd < 0) {
    const char* temporary = std::getenv("TMPDIR");
    std::snprintf(folder, sizeof folder, "%s/kravix-fuzz-XXXXXX", temporary ? temporary : "/tmp");
    if (mkdtemp(folder) == nullptr) std::abort();
    std::snprintf(scoreFilePath, kScoreFilePathSize, "%s/.kravix.sco", folder);
    fd = open(scoreFilePath, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  }
  if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
  if (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
}

void checkLoadedState() {
  for (int row = 0; row < kScoreRows; ++row) {
    if (std::memchr(highScoreNames[row], 0, kNameField) == nullptr) std::abort();
    if (highScores[row] > 0xFFFF) std::abort();
  }
  for (uint8_t flag : {settings.effectsOn, settings.speakerOn, settings.debrisOn, settings.mapOn,
                       settings.statusLineFull}) {
    if (flag > 1) std::abort();
  }
  if (settings.turnSpeed < 30 || settings.turnSpeed > 70) std::abort();
}

void checkSaveImageReadsBack() {
  char names[kScoreRows][kNameField];
  uint32_t scores[kScoreRows];
  Settings before = settings;
  std::memcpy(names, highScoreNames, sizeof names);
  std::memcpy(scores, highScores, sizeof scores);
  uint8_t image[kScoreFileBytes];
  encodeScoreFile(image);
  decodeScoreFile(image, sizeof image);
  bringSettingsIntoRange();
  if (std::memcmp(&before, &settings, sizeof before) != 0) std::abort();
  if (std::memcmp(names, highScoreNames, sizeof names) != 0) std::abort();
  if (std::memcmp(scores, highScores, sizeof scores) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  settings = {1, 0, 1, 0, 0, 50};
  resetScoreTable();
  useAsScoreFile(data, size);
  loadScoreFile();
  checkLoadedState();
  checkSaveImageReadsBack();
  return 0;
}
