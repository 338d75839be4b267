#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/game_state.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "scores/high_score_screens.h"
#include "scores/score_table.h"
#include "scores/score_test_support.h"
#include "support/test_support.h"

namespace {

class HighScoreScreens : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameWideState();
    startHeadlessVideo();
  }
  void TearDown() override { resetGameWideState(); }

  // The end of a game, as the game sequence runs it.
  void endGame(int score) {
    gameState.score = score;
    if (highScores[19] < static_cast<uint32_t>(gameState.score)) enterHighScoreName();
    sortScoreTable();
    showHighScores();
  }

  // The name the entry wrote into row 20, or "" when it entered nothing
  // (row 20 still holds its default, TORVA with 0).
  std::string enteredName(const std::string& script, int score = 500) {
    useScript(script);
    gameState.score = score;
    enterHighScoreName();
    if (highScores[20] == 0) {
      EXPECT_STREQ(highScoreNames[20], "TORVA");
      return "";
    }
    EXPECT_EQ(highScores[20], static_cast<uint32_t>(score));
    return highScoreNames[20];
  }

  // A fresh keyboard for a second script in the same test.
  void restart() {
    startHeadlessVideo();
    controls = {};
  }

  static uint8_t screenAt(int x, int y) { return headlessScreen()[y * 320 + x]; }
};

TEST_F(HighScoreScreens, TheNameKeyTableFollowsAGermanLayout) {
  EXPECT_EQ(std::u32string(nameKeyTable), U"  1234567890-=  QWERTZUIOP    ASDFGHJKL     YXCVBNM");
  EXPECT_EQ(std::u32string(nameKeyTable).size(), 51u);
  // Z and Y change places against the US keys the script names.
  EXPECT_EQ(enteredName("hold Y 1\nhold Z 1\nhold ESC 1\n"), "ZY");
}

TEST_F(HighScoreScreens, AScoreEqualToRow19OpensNoEntry) {
  useScript("hold A 1\nhold B 1\nhold ENTER 1\n");
  endGame(10);
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(headlessPollCount(), 3) << "only the table screen polled";
}

TEST_F(HighScoreScreens, F12HeldOnArrivalEndsTheEntryAtOnceAndEntersNothing) {
  controls.quickExit = 1;
  EXPECT_EQ(enteredName("hold A 1\nhold B 1\n"), "");
  EXPECT_EQ(headlessPollCount(), 0);
}

TEST_F(HighScoreScreens, EnterCountsOnlyFromThe502ndPass) {
  // Enter held through pass 501 does nothing; the entry runs on to the script's end.
  EXPECT_EQ(enteredName("hold A 1\nhold B 1\nhold ENTER 499\nwait 5\n"), "AB");
  EXPECT_TRUE(headlessScriptDone());

  restart();
  EXPECT_EQ(enteredName("hold A 1\nhold B 1\nwait 498\nhold ENTER 1\nwait 5\n"), "AB");
  EXPECT_TRUE(headlessScriptDone());

  restart();
  EXPECT_EQ(enteredName("hold A 1\nhold B 1\nwait 499\nhold ENTER 1\nwait 5\n"), "AB");
  EXPECT_FALSE(headlessScriptDone());
  EXPECT_EQ(headlessPollCount(), 503) << "ended on pass 502, then one poll for the release";
}

TEST_F(HighScoreScreens, ANewEscapeEndsTheEntryOnceTwoCharactersAreTyped) {
  controls.escape = 1;  // held over from the game: not a new press
  EXPECT_EQ(enteredName("hold ESC 3\nhold A 1\nhold B 1\nhold ESC 1\nwait 5\n"), "AB");
  EXPECT_EQ(headlessPollCount(), 7);

  restart();
  EXPECT_EQ(enteredName("hold A 1\nhold ESC 1\nwait 5\n"), "A");
  EXPECT_TRUE(headlessScriptDone()) << "one character is not enough before 500 passes";
}

TEST_F(HighScoreScreens, ANewEscapeEndsTheEntryAfter500PassesAndAnEmptyNameEntersNothing) {
  EXPECT_EQ(enteredName("wait 498\nhold ESC 1\nwait 5\n"), "");
  EXPECT_TRUE(headlessScriptDone()) << "pass 499 is too early";

  restart();
  EXPECT_EQ(enteredName("wait 499\nhold ESC 1\nwait 5\n"), "");
  EXPECT_FALSE(headlessScriptDone());
  EXPECT_EQ(headlessPollCount(), 501);
  EXPECT_EQ(tableRows(), defaultRows());
}

TEST_F(HighScoreScreens, The21stCharacterIsRefusedAndBackspaceMakesRoom) {
  std::string script;
  for (int k = 0; k < 21; ++k) script += k % 2 ? "hold S 1\n" : "hold A 1\n";
  EXPECT_EQ(enteredName(script + "hold ESC 1\n"), "ASASASASASASASASASAS");

  restart();
  EXPECT_EQ(enteredName(script + "hold BACKSPACE 1\nhold D 1\nhold ESC 1\n"),
            "ASASASASASASASASASAD");
}

TEST_F(HighScoreScreens, BackspaceOnAnEmptyNameDoesNothing) {
  EXPECT_EQ(enteredName("hold BACKSPACE 1\nhold A 1\nhold B 1\nhold BACKSPACE 1\nhold C 1\n"
                        "hold ESC 1\n"),
            "AC");
}

TEST_F(HighScoreScreens, TabLeftCtrlAndLeftShiftTypeASpaceAndRightShiftNothing) {
  EXPECT_EQ(enteredName("hold A 1\nhold TAB 1\nhold B 1\nhold LCTRL 1\nhold C 1\nhold LSHIFT 1\n"
                        "hold RSHIFT 1\nhold D 1\nhold ESC 1\n"),
            "A B C D");
}

TEST_F(HighScoreScreens, AHeldKeyTypesOnceAndTheHighestHeldKeyDecides) {
  // Left Shift (42) held: A and Q below it type nothing, M (50) above it types.
  EXPECT_EQ(enteredName("hold LSHIFT 2\nhold LSHIFT A 1\nhold LSHIFT Q 1\nhold LSHIFT M 1\n"
                        "hold ESC 1\n"),
            " M");
  // Releasing the higher key while the lower is held types the lower once more.
  restart();
  EXPECT_EQ(enteredName("hold A 3\nhold A M 2\nhold A 1\nhold ESC 1\n"), "AMA");
}

TEST_F(HighScoreScreens, TheEntryShowsTheNameAndScoreAboveTheTable) {
  useScript("hold T 1\nhold ESC 1\n");
  gameState.score = 5;
  enterHighScoreName();
  // The name "T..." (top row 7 = full) at x 70 and the score 500's last "0" at x 200, row 12.
  EXPECT_EQ(screenAt(70, 12), 11);
  EXPECT_EQ(screenAt(72, 12), 11);
  EXPECT_EQ(screenAt(200, 12), 11);
  EXPECT_EQ(screenAt(70, 2), 10) << "the P of PLEASE ENTER YOUR NAME:";
  // The table drawn before the loop stays below the entry line: place 1's "1" at (42, 30).
  EXPECT_EQ(screenAt(42, 30), 11);
}

TEST_F(HighScoreScreens, TheTableShowsPlaceLeaderNameAndScore) {
  useScript("wait 1\nhold SPACE 1\n");
  showHighScores();
  EXPECT_EQ(screenAt(100, 10), 10) << "H I G H S C O R E S";
  EXPECT_EQ(screenAt(42, 30), 11) << "place 1";
  EXPECT_EQ(screenAt(70, 30), 11) << "T of TORVA";
  EXPECT_EQ(screenAt(72, 34), 0) << "the name blanks the dot behind it";
  EXPECT_EQ(screenAt(92, 34), 10) << "the dot after the name";
  EXPECT_EQ(screenAt(200, 30), 11) << "20000 ends in a 0 at x 200";
  EXPECT_EQ(screenAt(184, 30), 11) << "20000 starts with a 2 at x 184";
  EXPECT_EQ(screenAt(42, 30 + 8 * 19), 11) << "place 20 ends in a 0 at x 40";
}

TEST_F(HighScoreScreens, TheTableEndsOnEnterSpaceANewEscapeOrF12) {
  useScript("wait 2\nhold ENTER 1\nwait 3\n");
  showHighScores();
  EXPECT_EQ(headlessPollCount(), 3);

  restart();
  useScript("wait 2\nhold SPACE 1\nwait 3\n");
  showHighScores();
  EXPECT_EQ(headlessPollCount(), 3);

  restart();
  controls.escape = 1;
  useScript("hold ESC 4\nwait 1\nhold ESC 1\nwait 3\n");
  showHighScores();
  EXPECT_EQ(headlessPollCount(), 6) << "an Escape held from before does not end it";

  restart();
  useScript("wait 2\n");
  showHighScores();
  EXPECT_EQ(headlessPollCount(), 3) << "F12 after the script";
}

TEST_F(HighScoreScreens, ANewRowLandsBelowOlderRowsWithTheSameScore) {
  useScript("hold N 1\nhold E 1\nhold W 1\nhold ESC 1\nwait 1\nhold ENTER 1\n");
  endGame(100);
  std::vector<Row> expected = defaultRows();
  expected.insert(expected.begin() + 11, Row("NEW", 100));
  expected.pop_back();
  EXPECT_EQ(tableRows(), expected) << "row 10 keeps the older 100; the old row 19 drops to 20";
}

TEST_F(HighScoreScreens, TheSortIsStableAndComparesUnsigned) {
  const uint32_t scores[kScoreRows] = {5, 7, 5, 0x80000000u, 7, 5, 1, 1, 1, 1, 1,
                                       1, 1, 1, 1,           1, 1, 1, 1, 1, 9};
  for (int row = 0; row < kScoreRows; ++row) {
    std::snprintf(highScoreNames[row], kNameField, "R%d", row);
    highScores[row] = scores[row];
  }
  sortScoreTable();
  std::vector<Row> expected = {{"R3", 0x80000000u}, {"R20", 9}, {"R1", 7}, {"R4", 7},
                               {"R0", 5},           {"R2", 5},  {"R5", 5}};
  for (int row = 6; row <= 19; ++row) {
    char name[8];
    std::snprintf(name, sizeof name, "R%d", row);
    expected.emplace_back(name, 1);
  }
  EXPECT_EQ(tableRows(), expected);
}

}  // namespace
