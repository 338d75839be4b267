// The help screen over a level: which keys close it, and what the level finds afterwards.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "screens/help_screen.h"
#include "screens/screen_checks.h"

namespace {

TEST(HelpScreen, OnlyANewKeyAfterTheOpeningF1ClosesItAndTheLevelResumesFromAStandstill) {
  const struct {
    const char* what;
    const char* script;
    int polls;  // with one more for the Escape check on the way out
    bool quickExit;
  } cases[] = {
      {"F1 held keeps it open, a new F1 closes it", "hold F1 10\nwait 5\nhold F1 1\nwait 100\n",
       10 + 5 + 1 + 1, false},
      {"no key closes it while the opening F1 is held",
       "hold F1 ENTER 3\nhold F1 ESC 3\nhold F1 F12 2\nwait 4\nhold ENTER 1\nwait 10\n",
       3 + 3 + 2 + 4 + 1 + 1, false},
      {"Escape closes it and is waited out", "hold F1 2\nwait 1\nhold ESC 6\nwait 3\n", 4 + 6,
       false},
      {"F12 closes it once F1 is up", "hold F1 3\n", 3 + 1 + 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetScreenState();
    levelState.dt = 0.6f;
    levelState.frameMs = 30;
    controls.help = 1;  // the level loop opens it on F1
    useScript(c.script);
    runHelpScreen();
    EXPECT_EQ(headlessPollCount(), c.polls);
    EXPECT_EQ(controls.quickExit, c.quickExit);
    EXPECT_FALSE(controls.escape) << "the level never sees the Escape";
    EXPECT_EQ(levelState.dt, 0.0f);
    EXPECT_EQ(levelState.frameMs, 0);
  }
  EXPECT_TRUE(showsText(headlessScreen(), 80, 40, 31, "         A : TURN LEFT"));
  EXPECT_TRUE(showsText(headlessScreen(), 80, 50, 31, "         S : TURN RIGHT"));
}

}  // namespace
