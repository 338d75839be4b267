// The name entry and the high score table, driven by scripted keys.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/game.h"
#include "platform/headless/headless.h"
#include "scores/high_score_screens.h"
#include "scores/score_test_support.h"
#include "support/test_support.h"

namespace {

class HighScoreScreens : public ::testing::Test {
 protected:
  void SetUp() override { resetGameWideState(); }
  void TearDown() override { resetGameWideState(); }

  // Runs the screen on a fresh keyboard; Escape or F12 may be held on arrival.
  void run(void (*screen)(), const std::string& script, const char* heldOnArrival = "") {
    startHeadlessVideo();
    controls = {};
    controls.escape = std::string(heldOnArrival) == "ESC";
    controls.quickExit = std::string(heldOnArrival) == "F12";
    useScript(script);
    screen();
  }
};

constexpr int kToTheEnd = -1, kUnchecked = -2;  // kToTheEnd: to the script's end, then F12

TEST_F(HighScoreScreens, TheNameEntryTypesEndsAndEntersAsTheKeysSay) {
  std::string twentyOne = "hold A 1\n";
  for (int i = 0; i < 10; ++i) twentyOne += "hold S 1\nhold A 1\n";
  const struct {
    const char* what;
    const char* heldOnArrival;
    std::string script;
    std::string name;  // "" enters nothing: row 20 keeps TORVA
    int polls = kUnchecked;
  } cases[] = {
      {"F12 on arrival", "F12", "hold A 1\nhold B 1\n", "", 0},
      {"Enter at pass 501", "", "hold A 1\nhold B 1\nwait 498\nhold ENTER 1\nwait 5\n", "AB",
       kToTheEnd},
      {"Enter at pass 502, one poll to release", "",
       "hold A 1\nhold B 1\nwait 499\nhold ENTER 1\nwait 5\n", "AB", 503},
      {"a held Escape, then a new one after two characters", "ESC",
       "hold ESC 3\nhold A 1\nhold B 1\nhold ESC 1\nwait 5\n", "AB", 7},
      {"Escape after one character", "", "hold A 1\nhold ESC 1\nwait 5\n", "A", kToTheEnd},
      {"Escape at pass 499", "", "wait 498\nhold ESC 1\nwait 5\n", "", kToTheEnd},
      {"Escape at pass 500, empty name", "", "wait 499\nhold ESC 1\nwait 5\n", "", 501},
      {"21st character", "", twentyOne + "hold ESC 1\n", "ASASASASASASASASASAS"},
      {"Backspace makes room", "", twentyOne + "hold BACKSPACE 1\nhold D 1\nhold ESC 1\n",
       "ASASASASASASASASASAD"},
      {"Backspace on empty", "",
       "hold BACKSPACE 1\nhold A 1\nhold B 1\nhold BACKSPACE 1\nhold C 1\nhold ESC 1\n", "AC"},
      {"Tab, left Ctrl and left Shift type a space, right Shift nothing", "",
       "hold A 1\nhold TAB 1\nhold B 1\nhold LCTRL 1\nhold C 1\nhold LSHIFT 1\nhold RSHIFT 1\n"
       "hold D 1\nhold ESC 1\n",
       "A B C D"},
      {"left Shift (42) held: A and Q below it type nothing, M (50) above it does", "",
       "hold LSHIFT 2\nhold LSHIFT A 1\nhold LSHIFT Q 1\nhold LSHIFT M 1\nhold ESC 1\n", " M"},
      {"a held key types once; letting the higher go types the lower again", "",
       "hold A 3\nhold A M 2\nhold A 1\nhold ESC 1\n", "AMA"},
      {"Y and Z change places on the German layout", "", "hold Y 1\nhold Z 1\nhold ESC 1\n", "ZY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetGameWideState();
    run([] { gameState.score = 500, enterHighScoreName(); }, c.script, c.heldOnArrival);
    EXPECT_EQ(highScoreNames[20], c.name.empty() ? "TORVA" : c.name);
    EXPECT_EQ(highScores[20], c.name.empty() ? 0u : 500u);
    EXPECT_TRUE(c.polls < 0 || headlessPollCount() == c.polls) << headlessPollCount() << " polls";
    EXPECT_TRUE(c.polls != kToTheEnd || headlessScriptDone());
  }
}

TEST_F(HighScoreScreens, TheTableEndsOnEnterSpaceANewEscapeOrF12) {
  const struct {
    const char* heldOnArrival;
    const char* script;
    int polls;
  } cases[] = {{"", "wait 2\nhold ENTER 1\nwait 3\n", 3},
               {"", "wait 2\nhold SPACE 1\nwait 3\n", 3},
               {"ESC", "hold ESC 4\nwait 1\nhold ESC 1\nwait 3\n", 6},
               {"", "wait 2\n", 3}};
  for (const auto& c : cases) {
    run(showHighScores, c.script, c.heldOnArrival);
    EXPECT_EQ(headlessPollCount(), c.polls) << c.script;
  }
}

TEST_F(HighScoreScreens, AScoreNoHigherThanRow19sEntersNothingAndANewRowGoesBelowEqualOnes) {
  highScores[19] = highScores[20] = 0;  // a game given up on its first intro scores 0
  run(runGame, "wait 2\nhold ESC 1\nwait 2\nhold A 1\nhold ENTER 1\n");
  EXPECT_EQ(tableRows()[20], Row("TORVA", 0)) << "no entry was opened";

  resetScoreTable();
  std::strcpy(highScoreNames[20], "NEW");
  highScores[20] = 100;
  sortScoreTable();
  std::vector<Row> expected = defaultRows();
  expected.insert(expected.begin() + 11, Row("NEW", 100));
  expected.pop_back();
  EXPECT_EQ(tableRows(), expected) << "row 10 keeps the older 100; the old row 19 drops to 20";
}

}  // namespace
