// A whole game on kravix-headless: level 1 played with keys, towing the ball
// out; the three ships lost with Escape on level 2; a name typed for the new
// high score and the table shown; a new game from the title. Then the score
// file the game left is decoded.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "script_building.h"
#include "shot_reading.h"

namespace {

// The keys T E S T Z type "TESTY" on the German layout; Enter at once, which
// the entry ignores, and again after its first 500 passes.
std::string wholeGame() {
  return std::string(kIntoLevelOne) + testScript("level_one_tow.script") +
         "wait 20\nshot intro2\nhold ENTER 1\nwait 3\nshot level2\nwait 7\n"
         "hold ESC 3  # ship 3 lost; Escape still held as the next intro comes up\n"
         "wait 2\nshot intro2b\nhold ENTER 1\nwait 10\nhold ESC 1  # ship 2\n"
         "wait 2\nshot intro2c\nhold ENTER 1\nwait 10\nhold ESC 1  # the last ship\n"
         "wait 3\nhold T 1\nwait 1\nhold E 1\nwait 1\nhold S 1\nwait 1\nhold T 1\nwait 1\n"
         "hold Z 1\n"
         "hold ENTER 1  # too early: Enter counts only after 500 passes\n"
         "wait 3\nshot entry\nwait 500\nhold ENTER 1\nwait 3\nshot table\n"
         "hold SPACE 3  # away from the table; the title waits for the release\n"
         "wait 3\nshot title\nhold ENTER 1\nwait 300\nshot newGame\n";
}

// Row r of the table is drawn at y = 30 + 8r: place, name and score x 100.
bool tableRowShows(const ShotPixels& shot, int row, const std::string& name, int score) {
  const int y = 30 + 8 * row;
  return shotShowsNumber(shot, 40, y, 11, row + 1) && shotShowsText(shot, 70, y, 11, name) &&
         shotShowsNumber(shot, 200, y, 11, score * 100);
}

TEST(WholeGame, TowedOutOfLevelOneThenLostOnLevelTwoEndsInANewHighScore) {
  // A score file whose settings turn the full status line on; its table fails
  // the check, so the default table stays.
  const std::string folder = makeTempFolder("whole-game");
  std::string file(kScoreFileBytes, '\0');
  file.replace(0, 6, "\1\0\1\0\1\x32", 6);
  file[kScoreFileBytes - 1] = 31;
  std::ofstream(folder + "/.kravix.sco", std::ios::binary) << file;
  const RunResult run = runHeadless(wholeGame(), folder);
  auto shot = [&](const char* name) { return readShotIndices(folder + "/" + name + ".idx"); };
  ASSERT_EQ(run.status, 0);

  const ShotPixels towing = shot("towing");
  EXPECT_GE(countColours(towing, {25}), 8);  // the rod
  EXPECT_EQ(countColours(towing, {7}), 0);   // the stand went with the ball
  EXPECT_TRUE(showsIntro(shot("intro2"), 2, 3));
  // The score of one level, 20, is shown as 2000 in the status line.
  EXPECT_TRUE(shotShowsText(shot("level1"), 10, 18, 3, "SHIPS:"));
  EXPECT_TRUE(shotShowsNumber(shot("level1"), 60, 10, 3, 0));
  EXPECT_TRUE(shotShowsText(shot("level2"), 10, 10, 3, "SCORE:"));
  EXPECT_TRUE(shotShowsNumber(shot("level2"), 60, 10, 3, 2000));
  EXPECT_TRUE(shotShowsNumber(shot("level2"), 60, 26, 3, 2));
  EXPECT_TRUE(showsIntro(shot("intro2b"), 2, 2));
  EXPECT_TRUE(showsIntro(shot("intro2c"), 2, 1));

  const ShotPixels entry = shot("entry");
  EXPECT_TRUE(shotShowsText(entry, 70, 2, 10, "PLEASE ENTER YOUR NAME:"));
  EXPECT_TRUE(shotShowsText(entry, 70, 12, 11, "TESTY"));
  EXPECT_TRUE(shotShowsNumber(entry, 200, 12, 11, 2000));
  // Equal to place 19's 2000, the new score lands below it, at place 20.
  const ShotPixels table = shot("table");
  EXPECT_TRUE(shotShowsText(table, 100, 10, 10, "H I G H S C O R E S"));
  EXPECT_TRUE(tableRowShows(table, 0, "TORVA", 200));
  EXPECT_TRUE(tableRowShows(table, 18, "TORVA", 20));
  EXPECT_TRUE(tableRowShows(table, 19, "TESTY", 20));
  EXPECT_TRUE(
      shotShowsText(shot("title"), 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));
  EXPECT_TRUE(showsIntro(shot("newGame"), 1, 3));

  // The file decodes, its check passing, to the defaults with TESTY at row 19
  // and the old row 19 pushed out of sight.
  const std::string bytes = readWhole(folder + "/.kravix.sco");
  ASSERT_EQ(bytes.size(), 492u);
  std::strcpy(highScoreNames[19], "NOT READ");
  decodeScoreFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  for (int row = 0; row < kScoreRows; ++row) {
    EXPECT_STREQ(highScoreNames[row], row == 19 ? "TESTY" : "TORVA") << "row " << row;
    EXPECT_EQ(highScores[row], row == 19 ? 20u : row == 20 ? 10u : (20u - row) * 10) << row;
  }
  resetScoreTable();
}

}  // namespace
