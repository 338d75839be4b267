// The options menu over a level, with and without sound: the cursor, the
// switches, the turn speed and the ways out, checked on shots taken between keys.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "screens/options_menu.h"
#include "screens/screen_checks.h"

namespace {

constexpr uint8_t kOrdinary = 66, kSelected = 15, kUnavailable = 114;

// Presses a key for one pass and lets it go for one.
std::string tap(const std::string& key, int times = 1) {
  std::string script;
  for (int i = 0; i < times; ++i) script += "hold " + key + " 1\nwait 1\n";
  return script;
}

class OptionsMenu : public ::testing::Test {
 protected:
  void SetUp() override { resetScreenState(); }
  void TearDown() override { soundAvailable = 0; }

  // Runs the menu as the level loop opens it on F4; each step's keys end in a shot.
  void run(bool withSound, const std::vector<std::string>& steps, const std::string& after = "") {
    soundAvailable = withSound;
    levelState.dt = 0.6f;
    levelState.frameMs = 30;
    controls.options = 1;
    headlessSetOutDir(folder);
    std::string script;
    for (size_t i = 0; i < steps.size(); ++i)
      script += steps[i] + "shot " + std::to_string(i) + "\n";
    useScript(script + after);
    runOptionsMenu();
    shots.clear();
    for (size_t i = 0; i < steps.size(); ++i) {
      shots.push_back(readShot(folder, std::to_string(i)));
      shots.back().resize(64000);
    }
  }
  // Which of the seven lines is highlighted (-1: none), after checking the others' colours.
  int selectedLine(size_t shot, bool withSound) {
    const int lineY[7] = {70, 80, 100, 110, 120, 140, 160};
    int selected = -1;
    for (int line = 0; line < 7; ++line) {
      uint8_t colour = 0;
      for (int i = 0; i < 20 && !colour; ++i)
        colour = pixelAt(shots[shot].data(), 110 + i % 4, lineY[line] + i / 4);
      bool unavailable = line == 1 || (line == 0 && !withSound);
      if (colour == kSelected)
        selected = line;
      else
        EXPECT_EQ(colour, unavailable ? kUnavailable : kOrdinary) << "line " << line;
    }
    return selected;
  }
  bool shows(size_t shot, int x, int y, uint8_t colour, const std::string& text) {
    return showsText(shots[shot].data(), x, y, colour, text);
  }

  std::string folder = makeTempFolder("options");
  std::vector<std::vector<unsigned char>> shots;
};

TEST_F(OptionsMenu, TheCursorSkipsWhatCannotBeChangedAndStaysBetweenTheFirstAndLastLine) {
  const struct {
    bool withSound;
    std::vector<std::string> steps;
    std::vector<int> selected;  // after each step
  } cases[] = {
      {true, {"wait 1\n", tap("DOWN"), tap("UP")}, {0, 2, 0}},    // the arrows step over SPEAKER
      {true, {"wait 1\nhold S 1\nwait 1\n", tap("S")}, {-1, 2}},  // S does not, and it stays grey
      {false, {"wait 1\n", tap("UP") + tap("A"), tap("DOWN")}, {-1, -1, 2}},  // EFFECTS never
      {true, {tap("A") + tap("UP"), tap("S", 9) + tap("DOWN")}, {0, 6}},
  };
  for (const auto& c : cases) {
    resetScreenState();
    run(c.withSound, c.steps);
    for (size_t shot = 0; shot < c.steps.size(); ++shot)
      EXPECT_EQ(selectedLine(shot, c.withSound), c.selected[shot])
          << "shot " << shot << " of " << c.steps[0];
  }
}

TEST_F(OptionsMenu, SpaceSwitchesTheSelectedLineOncePerPressAndTheSpeakerShowsOnForOnePass) {
  run(false, {"wait 1\nhold SPACE 1\n", "wait 1\n"});  // without sound, from SPEAKER
  EXPECT_TRUE(shows(0, 110, 80, kUnavailable, "SPEAKER       ON "));
  EXPECT_TRUE(shows(0, 110, 70, kUnavailable, "EFFECTS       OFF"));
  EXPECT_TRUE(shows(1, 110, 80, kUnavailable, "SPEAKER       OFF"));

  resetScreenState();  // Space held on entry counts once; then DEBRIS, MAP, STATUSLINE, EFFECTS
  std::string keys = "hold SPACE 4\nwait 1\n";
  for (int line = 0; line < 3; ++line) keys += tap("DOWN") + tap("SPACE");
  run(true, {keys + tap("UP", 3) + tap("SPACE")});
  EXPECT_TRUE(shows(0, 110, 100, kOrdinary, "DEBRIS        OFF          F6"));
  EXPECT_TRUE(shows(0, 110, 110, kOrdinary, "MAP           ON           F5"));
  EXPECT_TRUE(shows(0, 110, 120, kOrdinary, "STATUSLINE    FULL"));
  EXPECT_TRUE(shows(0, 110, 70, kSelected, "EFFECTS       ON "));
}

TEST_F(OptionsMenu, HeldArrowsMoveTheTurnSpeedOneAPassWithin30And70AndSpaceResetsIt) {
  const struct {
    std::string keys;
    const char *speed, *word;  // FAST and SLOW outside 40 to 60
  } steps[] = {{std::string("hold RIGHT 3\n") + tap("DOWN", 4) + "hold RIGHT 10\n", "60", "    "},
               {"hold RIGHT 1\n", "61", "FAST"},
               {"hold RIGHT 30\n", "70", "FAST"},
               {"hold LEFT 30\n", "40", "    "},
               {"hold LEFT 1\n", "39", "SLOW"},
               {"hold LEFT 50\n", "30", "SLOW"},
               {tap("SPACE"), "50", "    "}};
  std::vector<std::string> keys;
  for (const auto& step : steps) keys.push_back(step.keys);
  run(true, keys);
  for (size_t shot = 0; shot < keys.size(); ++shot) {
    EXPECT_TRUE(shows(shot, 176, 140, kSelected, steps[shot].speed));
    EXPECT_TRUE(shows(shot, 190, 140, kSelected, steps[shot].word));
  }
}

TEST_F(OptionsMenu, ItClosesOnEnterANewF4SpaceOnExitOrF12AndTheLevelResumesFromAStandstill) {
  const struct {
    const char* what;
    bool withSound;
    std::string script;
    int polls;  // with one more for the Escape check on the way out
    bool quickExit = false;
  } cases[] = {
      {"the opening F4 held, then a new F4", false, "hold F4 5\nwait 2\nhold F4 1\nwait 10\n",
       8 + 1},
      {"Enter, in the pass it is seen", false, "wait 3\nhold ENTER 1\nwait 10\n", 4 + 1},
      {"Escape does not close it and is waited out", false,
       "hold ESC 5\nhold ENTER ESC 1\nhold ESC 3\nwait 10\n", 6 + 4},
      {"Space on EXIT OPTIONS", true, tap("DOWN", 5) + "hold SPACE 1\nwait 10\n", 10 + 1 + 1},
      {"F12", false, "hold F4 4\n", 5 + 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetScreenState();
    shipThrusting = 1;
    run(c.withSound, {}, c.script);
    EXPECT_EQ(headlessPollCount(), c.polls);
    EXPECT_EQ(controls.quickExit, c.quickExit);
    EXPECT_FALSE(controls.escape || controls.fire) << "the level sees neither key";
    EXPECT_EQ(shipThrusting, 0) << "entry stops the thrust sound";
    EXPECT_EQ(levelState.dt, 0.0f);
    EXPECT_EQ(levelState.frameMs, 0);
  }
  EXPECT_TRUE(showsText(headlessScreen(), 110, 160, kOrdinary, "EXIT OPTIONS               F4"));
}

}  // namespace
