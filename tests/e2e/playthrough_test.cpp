// The whole first round won by keys alone: the stored playthrough, replayed by
// kravix-headless from the program's start, completes levels 1 to 8 in order
// without losing a ship and ends on the next round's first intro, with the
// score the solver expected when it found the keys.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "script_building.h"
#include "shot_reading.h"

namespace {

// The playthrough with a shot of every level's intro, just before its Enter.
std::string withIntroShots(const std::string& playthrough, int* levels) {
  std::istringstream lines(playthrough);
  std::string script, line;
  while (std::getline(lines, line)) {
    if (line.rfind("hold ENTER 1  # the intro's Enter", 0) == 0) {
      script += "shot intro" + std::to_string(++*levels) + "\n";
    }
    script += line + "\n";
  }
  // Escape on the last intro ends the game: the score goes into the table as "TOW".
  return script +
         "shot end\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold O 1\nwait 1\nhold W 1\n"
         "wait 500\nhold ENTER 1\nwait 3\n";
}

int expectedScore(const std::string& playthrough) {
  std::smatch match;
  const std::regex expectation("# expect: level 1, difficulty 2, ships 3, score ([0-9]+)");
  return std::regex_search(playthrough, match, expectation) ? std::stoi(match[1]) : -1;
}

TEST(Playthrough, TheFirstRoundIsWonByKeys) {
  const std::string playthrough =
      readWhole(std::string(KRAVIX_SOURCE_DIR) + "/demos/playthrough.script");
  int levels = 0;
  const ScriptedRun run("playthrough", withIntroShots(playthrough, &levels));
  ASSERT_EQ(run.result.status, 0);
  ASSERT_EQ(levels, 8);
  for (int level = 1; level <= 8; ++level) {
    EXPECT_TRUE(showsIntro(run.shot("intro" + std::to_string(level)), level, 3)) << level;
  }
  const ShotPixels end = run.shot("end");
  EXPECT_TRUE(showsIntro(end, 1, 3));
  EXPECT_TRUE(shotShowsText(end, 120, 100, 45, "DIFFICULTY:") &&
              shotShowsNumber(end, 170, 100, 45, 2));
  EXPECT_TRUE(shotShowsText(end, 20, 170, 45, "                   LAST LEVEL REACHED"));

  // Eight levels are 16000 points; every turret shot down on the way adds 500.
  const int score = expectedScore(playthrough);
  EXPECT_GE(score, 16000);
  EXPECT_EQ((score - 16000) % 500, 0);
  const std::string saved = readWhole(run.folder + "/.kravix.sco");
  decodeScoreFile(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  int row = 0;
  while (row < kScoreRows && std::string(highScoreNames[row]) != "TOW") ++row;
  ASSERT_LT(row, kScoreRows) << "the name typed at the end is in the table";
  EXPECT_EQ(highScores[row] * 100, static_cast<uint32_t>(score));
}

}  // namespace
