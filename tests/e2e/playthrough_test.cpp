// The stored playthrough replayed by kravix-headless from the program's start:
// the first round won by keys alone, levels 1 to 8 without losing a ship, with the
// score the solver expected; level 1's frames, map and full status line on, pinned
// by digests, so that a change to anything a frame draws shows (rock, turret, ship,
// ball, stand, rod, stars, exhaust, rings, fading craft, map, status line, intro).
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "script_building.h"
#include "video/frame_buffer.h"

namespace {

using ShotPixels = std::vector<unsigned char>;

bool shotShowsText(const ShotPixels& shot, int x, int y, uint8_t colour, const std::string& text) {
  return shot.size() == kFrameBytes && showsText(shot.data(), x, y, colour, text);
}

// A number drawn right-aligned on the cell at x, as the game draws numbers.
bool shotShowsNumber(const ShotPixels& shot, int x, int y, uint8_t colour, int value) {
  const std::string digits = std::to_string(value);
  return shotShowsText(shot, x - 4 * (static_cast<int>(digits.size()) - 1), y, colour, digits);
}

bool showsIntro(const ShotPixels& shot, int level, int ships) {
  return shotShowsText(shot, 120, 90, 45, "LEVEL:") && shotShowsNumber(shot, 170, 90, 45, level) &&
         shotShowsText(shot, 120, 110, 45, "SHIPS:") && shotShowsNumber(shot, 170, 110, 45, ships);
}

TEST(Playthrough, TheFirstRoundIsWonByKeys) {
  const std::string playthrough =
      readWhole(std::string(KRAVIX_SOURCE_DIR) + "/demos/playthrough.script");
  // A shot of every level's intro just before its Enter; Escape on the last intro
  // ends the game, and the score goes into the table as "TOW".
  std::istringstream lines(playthrough);
  std::string script, line;
  int levels = 0;
  while (std::getline(lines, line)) {
    if (line.starts_with("hold ENTER 1  # the intro's Enter"))
      script += "shot intro" + std::to_string(++levels) + "\n";
    script += line + "\n";
  }
  script += "shot end\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold O 1\nwait 1\nhold W 1\n";
  const std::string folder = makeTempFolder("playthrough");
  ASSERT_EQ(runHeadless(script + "wait 500\nhold ENTER 1\nwait 3\n", folder).status, 0);
  auto shot = [&](const std::string& id) { return readShotIndices(folder + "/" + id + ".idx"); };
  ASSERT_EQ(levels, 8);
  for (int level = 1; level <= 8; ++level)
    EXPECT_TRUE(showsIntro(shot("intro" + std::to_string(level)), level, 3)) << level;
  const ShotPixels end = shot("end");
  EXPECT_TRUE(showsIntro(end, 1, 3));
  EXPECT_TRUE(shotShowsText(end, 120, 100, 45, "DIFFICULTY:") &&
              shotShowsNumber(end, 170, 100, 45, 2));
  EXPECT_TRUE(shotShowsText(end, 20, 170, 45, "                   LAST LEVEL REACHED"));

  std::smatch expected;
  const std::regex expectation("# expect: level 1, difficulty 2, ships 3, score ([0-9]+)");
  ASSERT_TRUE(std::regex_search(playthrough, expected, expectation));
  const std::string saved = readWhole(folder + "/.kravix.sco");
  decodeScoreFile(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  int row = 0;
  while (row < kScoreRows && std::string(highScoreNames[row]) != "TOW") ++row;
  ASSERT_LT(row, kScoreRows) << "the name typed at the end is in the table";
  EXPECT_EQ(highScores[row] * 100, std::stoul(expected[1]));
}

// Every 16th line's frame of level 1, and each intro's.
TEST(Frames, LevelOneLooksAsItAlwaysHas) {
  std::istringstream lines(levelOneWon());
  std::string script, line;
  std::vector<std::string> shots;
  while (std::getline(lines, line)) {
    script.append(line).append("\n");
    if (line.starts_with("shot ")) continue;
    if (shots.size() % 16 == 0 || line.starts_with("hold ENTER 1  # the intro"))
      script.append("shot ").append(shots.emplace_back(std::to_string(shots.size()))).append("\n");
    else
      shots.push_back("");
  }
  const std::string folder = makeTempFolder("frames");
  // The map and the full status line on; a table that fails its check.
  std::string file = std::string("\1\0\1\1\1\x32", 6) + std::string(486, '\0');
  file.back() = 31;
  std::ofstream(folder + "/.kravix.sco", std::ios::binary) << file;
  ASSERT_EQ(runHeadless(script, folder).status, 0);
  std::string digests;
  for (const std::string& shot : shots) {
    if (shot.empty()) continue;
    const std::string bytes = readWhole(folder + "/" + shot + ".idx");
    digests += shot + ":" + std::to_string(digestOf(bytes.data(), bytes.size())) + " ";
  }
  EXPECT_EQ(digests,
            "0:874732487356850590 8:9438508262123858407 16:15224996563092228969 "
            "32:17366145765207973075 48:13984715697003184267 64:12637839547343489830 "
            "80:11856612625250181723 96:5354074384431583108 112:8941702083887840340 "
            "128:11112110297394359509 ");
}

}  // namespace
