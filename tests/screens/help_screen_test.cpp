#include <gtest/gtest.h>

#include "app/level_state.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "screens/help_screen.h"
#include "screens/screen_checks.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

class HelpScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    resetScreenState();
    levelState.dt = 0.6f;
    levelState.frameMs = 30;
    controls.help = 1;  // the level loop opens it on F1
  }
};

TEST_F(HelpScreen, HoldingTheOpeningF1KeepsItOpenAndANewPressClosesIt) {
  useScript("hold F1 10\nwait 5\nhold F1 1\nwait 100\n");
  runHelpScreen();
  EXPECT_EQ(headlessPollCount(), 10 + 5 + 1 + 1);  // and one for the Escape check
  EXPECT_FALSE(controls.quickExit);
}

TEST_F(HelpScreen, NoKeyClosesItWhileTheOpeningF1IsHeld) {
  useScript("hold F1 ENTER 3\nhold F1 ESC 3\nhold F1 F12 2\nwait 4\nhold ENTER 1\nwait 10\n");
  runHelpScreen();
  EXPECT_EQ(headlessPollCount(), 3 + 3 + 2 + 4 + 1 + 1);
  EXPECT_FALSE(controls.quickExit);
}

TEST_F(HelpScreen, EscapeClosesItAndIsConsumedBeforeTheLevelSeesIt) {
  useScript("hold F1 2\nwait 1\nhold ESC 6\nwait 3\n");
  runHelpScreen();
  // The fourth poll sees Escape; five more see it still held, the sixth sees it up.
  EXPECT_EQ(headlessPollCount(), 4 + 6);
  EXPECT_FALSE(controls.escape);
}

TEST_F(HelpScreen, F12ClosesItOnceTheOpeningF1IsUp) {
  useScript("hold F1 3\n");
  runHelpScreen();
  EXPECT_EQ(headlessPollCount(), 3 + 1 + 1);
  EXPECT_TRUE(controls.quickExit);
}

TEST_F(HelpScreen, LeavingStopsTheLevelClockSoThatPlayResumesSlowly) {
  useScript("wait 2\nhold ENTER 1\nwait 10\n");
  runHelpScreen();
  EXPECT_EQ(levelState.dt, 0.0f);
  EXPECT_EQ(levelState.frameMs, 0);
}

TEST_F(HelpScreen, TheLevelsLastFrameIsShownOnceMoreOnEntry) {
  std::string folder = makeTempFolder("help-entry");
  headlessSetOutDir(folder);
  fillRect(10, 10, 20, 20, 5);
  useScript("shot entry\nwait 1\n");
  runHelpScreen();
  std::vector<unsigned char> entry = readShot(folder, "entry");
  ASSERT_GE(entry.size(), 64000u);
  EXPECT_EQ(entry[15 * kScreenWidth + 15], 5);
  EXPECT_EQ(headlessScreen()[15 * kScreenWidth + 15], 0);  // the help frame is drawn on black
}

TEST_F(HelpScreen, ShowsTheKeysInWhiteWithAGreyOutline) {
  useScript("wait 1\n");
  runHelpScreen();
  const unsigned char* screen = headlessScreen();
  const char* lines[] = {
      "     H   E   L   P",      "         A : TURN LEFT", "         S : TURN RIGHT",
      "RIGH_SHIFT : THRUST",     "    RETURN : FIRE",      "     SPACE : TAG BALL",
      "       ESC : EXIT",       "        F1 : HELP",      "        F2 : PAUSE",
      "        F3 : SCREENSHOT", "        F4 : OPTIONS",   "       F12 : QUICK EXIT"};
  const int offsets[] = {0, 20, 30, 40, 50, 60, 70, 90, 100, 110, 120, 130};
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(showsText(screen, 80, 20 + offsets[i], 31, lines[i]));
  // The H's top corners, with grey beside and above them.
  EXPECT_EQ(screen[20 * kScreenWidth + 100], 31);
  EXPECT_EQ(screen[20 * kScreenWidth + 99], 25);
  EXPECT_EQ(screen[19 * kScreenWidth + 100], 25);
  int top = kScreenHeight, bottom = -1;
  for (int i = 0; i < kFrameBytes; ++i) {
    ASSERT_TRUE(screen[i] == 0 || screen[i] == 25 || screen[i] == 31) << i;
    if (screen[i] == 31) top = std::min(top, i / kScreenWidth), bottom = i / kScreenWidth;
  }
  EXPECT_EQ(top, 20);
  EXPECT_EQ(bottom, 154);
}

}  // namespace
