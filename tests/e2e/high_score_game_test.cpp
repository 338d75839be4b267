// A whole game on kravix-headless with a fresh HOME that ends in the high
// score table: level 1 played with keys, the other ships lost with Escape, a
// name typed, the table shown, the program left from the title, and the
// score file it leaves decoded.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "script_building.h"
#include "shot_reading.h"
#include "support/test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Row r of the table is drawn at y = 30 + 8r: place, name and score x 100.
bool tableRowShows(const ShotPixels& shot, int row, const std::string& name, int score) {
  const int y = 30 + 8 * row;
  return shotShowsNumber(shot, 40, y, 11, row + 1) && shotShowsText(shot, 70, y, 11, name) &&
         shotShowsNumber(shot, 200, y, 11, score * 100);
}

Bytes readFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

// Level 1 completed (20 units), then the three ships lost with Escape on
// level 2; the keys T E S T Z type "TESTY" on the German layout; Enter at
// once, which the entry ignores, and again after its first 500 passes.
std::string wholeGame() {
  return std::string(kIntoLevelOne) + readTestScript("level_one_tow.script") +
         "wait 20\n"
         "shot intro2\n"
         "hold ENTER 1\n"
         "wait 10\n"
         "hold ESC 1    # ship 3 lost\n"
         "wait 2\n"
         "hold ENTER 1\n"
         "wait 10\n"
         "hold ESC 1    # ship 2\n"
         "wait 2\n"
         "hold ENTER 1\n"
         "wait 10\n"
         "hold ESC 1    # the last ship: 2000 beats place 20's 1000\n"
         "wait 3\n"
         "hold T 1\n"
         "wait 1\n"
         "hold E 1\n"
         "wait 1\n"
         "hold S 1\n"
         "hold T 1      # a new key without a pause types too\n"
         "wait 1\n"
         "hold Z 1      # Y on this layout\n"
         "hold ENTER 1  # too early: Enter counts only after 500 passes\n"
         "wait 3\n"
         "shot entry\n"
         "wait 500\n"
         "hold ENTER 1\n"
         "wait 3\n"
         "shot table\n"
         "hold SPACE 1  # away from the table\n"
         "wait 5\n"
         "shot title\n"
         "hold ESC 1    # and out of the program from the title\n"
         "wait 10\n";
}

TEST(HighScoreGameEndToEnd, ANewBestScoreIsNamedShownAndKeptInTheScoreFile) {
  const std::string folder = makeTempFolder("high-score-game");
  const RunResult run = runHeadless(wholeGame(), folder);
  ASSERT_EQ(run.status, 0);
  const ShotPixels intro2 = readShotIndices(folder + "/intro2.idx");
  ASSERT_EQ(intro2.size(), 64000u);
  EXPECT_TRUE(shotShowsText(intro2, 120, 90, 45, "LEVEL:"));
  EXPECT_TRUE(shotShowsNumber(intro2, 170, 90, 45, 2));

  const ShotPixels entry = readShotIndices(folder + "/entry.idx");
  EXPECT_TRUE(shotShowsText(entry, 70, 2, 10, "PLEASE ENTER YOUR NAME:"));
  EXPECT_TRUE(shotShowsText(entry, 70, 12, 11, "TESTY"));
  EXPECT_TRUE(shotShowsNumber(entry, 200, 12, 11, 2000));
  EXPECT_FALSE(shotShowsText(entry, 100, 10, 10, "H I G H S C O R E S"));

  // Equal to place 19's 2000, the new score lands below it, at place 20.
  const ShotPixels table = readShotIndices(folder + "/table.idx");
  EXPECT_TRUE(shotShowsText(table, 100, 10, 10, "H I G H S C O R E S"));
  EXPECT_TRUE(tableRowShows(table, 0, "TORVA", 200));
  EXPECT_TRUE(tableRowShows(table, 18, "TORVA", 20));
  EXPECT_TRUE(tableRowShows(table, 19, "TESTY", 20));

  const ShotPixels title = readShotIndices(folder + "/title.idx");
  EXPECT_TRUE(shotShowsText(title, 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));

  // The file: the records' byte sum times 31 in its last three bytes, and
  // row 19 with its name unscrambled by hand: (byte - 19) XOR 0x9B.
  const Bytes bytes = readFileBytes(folder + "/.kravix.sco");
  ASSERT_EQ(bytes.size(), 492u);
  uint32_t sum = 0;
  for (int i = 6; i < 489; ++i) sum += bytes[i];
  EXPECT_EQ(bytes[489] * 65536u + bytes[490] * 256u + bytes[491], 31 * sum);
  const uint8_t* row19 = &bytes[6 + 23 * 19];
  ASSERT_EQ(row19[0], 5);
  std::string name;
  for (int j = 0; j < 5; ++j) name += static_cast<char>(((row19[1 + j] - 19) & 0xFF) ^ 0x9B);
  EXPECT_EQ(name, "TESTY");
  EXPECT_EQ(row19[21] * 256 + row19[22], 20);

  // The game's own decoder gives the whole table: the defaults with TESTY at
  // row 19 and the old row 19 pushed out of sight.
  std::strcpy(highScoreNames[19], "NOT READ");
  decodeScoreFile(bytes.data(), bytes.size());
  for (int row = 0; row < kScoreRows; ++row) {
    const bool entered = row == 19;
    EXPECT_STREQ(highScoreNames[row], entered ? "TESTY" : "TORVA") << "row " << row;
    const uint32_t score = row < 19 ? (20 - row) * 10 : row == 19 ? 20 : 10;
    EXPECT_EQ(highScores[row], score) << "row " << row;
  }
  resetScoreTable();
}

}  // namespace
