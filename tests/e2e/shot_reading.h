// Running a script through kravix-headless and reading its screen shots:
// texts in the game's font and the intro's lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "video/frame_buffer.h"

using ShotPixels = std::vector<unsigned char>;

// One run of a script in a fresh folder, and the shots it left there.
struct ScriptedRun {
  std::string folder;
  RunResult result;
  ScriptedRun(const std::string& name, const std::string& script)
      : folder(makeTempFolder(name)), result(runHeadless(script, folder)) {}
  ShotPixels shot(const std::string& name) const {
    return readShotIndices(folder + "/" + name + ".idx");
  }
};

inline bool shotShowsText(const ShotPixels& shot, int x, int y, uint8_t colour,
                          const std::string& text) {
  return shot.size() == kFrameBytes && showsText(shot.data(), x, y, colour, text);
}

// A number drawn right-aligned on the cell at x, as the game draws numbers.
inline bool shotShowsNumber(const ShotPixels& shot, int x, int y, uint8_t colour, int value) {
  const std::string digits = std::to_string(value);
  return shotShowsText(shot, x - 4 * (static_cast<int>(digits.size()) - 1), y, colour, digits);
}

// A level's intro: its number and the ships left.
inline bool showsIntro(const ShotPixels& shot, int level, int ships) {
  return shotShowsText(shot, 120, 90, 45, "LEVEL:") && shotShowsNumber(shot, 170, 90, 45, level) &&
         shotShowsText(shot, 120, 110, 45, "SHIPS:") && shotShowsNumber(shot, 170, 110, 45, ships);
}
