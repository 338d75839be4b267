// Running a script through kravix-headless and reading its screen shots:
// texts in the game's font, the intro's lines, and colours counted in areas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/text.h"

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

inline uint8_t shotPixel(const ShotPixels& shot, int x, int y) {
  if (x < 0 || x >= kScreenWidth || y < 0 || y >= kScreenHeight) return 0;
  return y * kScreenWidth + x < static_cast<int>(shot.size()) ? shot[y * kScreenWidth + x] : 0;
}

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

struct Area {
  int x1 = 0, y1 = 0, x2 = kScreenWidth - 1, y2 = kScreenHeight - 1;
  bool operator==(const Area&) const = default;
};

inline int countIn(const ShotPixels& shot, const Area& area, const std::vector<int>& colours) {
  int count = 0;
  for (int y = area.y1; y <= area.y2; ++y) {
    for (int x = area.x1; x <= area.x2; ++x) {
      for (int colour : colours) count += shotPixel(shot, x, y) == colour ? 1 : 0;
    }
  }
  return count;
}

inline int countColours(const ShotPixels& shot, const std::vector<int>& colours) {
  return countIn(shot, Area{}, colours);
}
