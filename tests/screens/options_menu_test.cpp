#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/level_state.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "screens/options_menu.h"
#include "screens/screen_checks.h"
#include "screens/settings.h"
#include "sound/sound_effects.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace {

constexpr uint8_t kOrdinary = 66, kSelected = 15, kUnavailable = 114;
constexpr int kLineY[7] = {70, 80, 100, 110, 120, 140, 160};

using LineColours = std::array<int, 7>;

LineColours lineColours(const unsigned char* screen) {
  LineColours colours;
  for (int line = 0; line < 7; ++line) colours[line] = cellColour(screen, 110, kLineY[line]);
  return colours;
}

LineColours selected(int line, bool withSound) {
  LineColours colours = {kOrdinary, kUnavailable, kOrdinary, kOrdinary,
                         kOrdinary, kOrdinary,    kOrdinary};
  if (!withSound) colours[0] = kUnavailable;
  if (line >= 0) colours[line] = kSelected;
  return colours;
}

// Presses a key for one pass and lets it go for one.
std::string tap(const std::string& key, int times = 1) {
  std::string script;
  for (int i = 0; i < times; ++i) script += "hold " + key + " 1\nwait 1\n";
  return script;
}

class OptionsMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    resetScreenState();
    levelState.dt = 0.6f;
    levelState.frameMs = 30;
    controls.options = 1;  // the level loop opens it on F4
    folder = makeTempFolder("options");
    headlessSetOutDir(folder);
  }
  void TearDown() override { soundAvailable = 0; }

  LineColours coloursIn(const std::string& shot) {
    std::vector<unsigned char> picture = readShot(folder, shot);
    if (picture.size() < 64000) ADD_FAILURE() << "no shot " << shot;
    picture.resize(64000);
    return lineColours(picture.data());
  }
  std::vector<unsigned char> shot(const std::string& name) {
    std::vector<unsigned char> picture = readShot(folder, name);
    picture.resize(64000);
    return picture;
  }

  std::string folder;
};

TEST_F(OptionsMenu, WithSoundTheCursorKeysStepOverTheSpeaker) {
  soundAvailable = 1;
  useScript("wait 1\nshot start\n" + tap("DOWN") + "shot down\n" + tap("UP") + "shot up\n");
  runOptionsMenu();
  EXPECT_EQ(coloursIn("start"), selected(0, true));
  EXPECT_EQ(coloursIn("down"), selected(2, true));
  EXPECT_EQ(coloursIn("up"), selected(0, true));
}

TEST_F(OptionsMenu, WithSoundSSelectsTheSpeakerWhichStaysGreyedOut) {
  soundAvailable = 1;
  useScript("wait 1\n" + tap("S") + "shot speaker\n" + tap("S") + "shot debris\n");
  runOptionsMenu();
  EXPECT_EQ(coloursIn("speaker"), selected(-1, true));
  EXPECT_EQ(coloursIn("debris"), selected(2, true));
}

TEST_F(OptionsMenu, WithoutSoundEffectsCanNeverBeSelected) {
  useScript("wait 1\nshot first\n" + tap("UP") + tap("A") + "shot back\n" + tap("DOWN") +
            "shot down\n");
  runOptionsMenu();
  EXPECT_EQ(coloursIn("first"), selected(-1, false));  // on the speaker after the first pass
  EXPECT_EQ(coloursIn("back"), selected(-1, false));
  EXPECT_EQ(coloursIn("down"), selected(2, false));
}

TEST_F(OptionsMenu, TheSelectionIsHeldBetweenTheFirstAndTheLastLine) {
  soundAvailable = 1;
  useScript(tap("A") + tap("UP") + "shot top\n" + tap("S", 9) + tap("DOWN") + "shot bottom\n" +
            tap("SPACE") + "wait 10\n");
  runOptionsMenu();
  EXPECT_EQ(coloursIn("top"), selected(0, true));
  EXPECT_EQ(coloursIn("bottom"), selected(6, true));
  // Space on EXIT OPTIONS left the menu: 2 + 2 + 18 + 2 passes, the Space pass, one Escape check.
  EXPECT_EQ(headlessPollCount(), 24 + 1 + 1);
  EXPECT_FALSE(controls.quickExit);
}

TEST_F(OptionsMenu, SpaceOnTheSpeakerTurnsTheEffectsOffAndShowsOnForOnePass) {
  soundAvailable = 1;
  useScript("wait 1\nhold S 1\nhold SPACE 1\nshot pressed\nwait 1\nshot after\n");
  runOptionsMenu();
  std::vector<unsigned char> pressed = shot("pressed"), after = shot("after");
  EXPECT_TRUE(showsText(pressed.data(), 110, 80, kUnavailable, "SPEAKER       ON "));
  EXPECT_TRUE(showsText(pressed.data(), 110, 70, kOrdinary, "EFFECTS       OFF"));
  EXPECT_TRUE(showsText(after.data(), 110, 80, kUnavailable, "SPEAKER       OFF"));
  EXPECT_EQ(settings.effectsOn, 0);
  EXPECT_EQ(settings.speakerOn, 0);
}

TEST_F(OptionsMenu, SpaceSwitchesTheSelectedSettingOncePerPress) {
  soundAvailable = 1;
  settings.speakerOn = 1;  // a stored value the menu clears
  useScript("hold SPACE 5\nwait 1\n" + tap("DOWN") + tap("SPACE") + tap("DOWN") + tap("SPACE") +
            tap("DOWN") + tap("SPACE") + "shot switched\n" + tap("UP", 3) + "hold SPACE 1\n" +
            "shot again\n");
  runOptionsMenu();
  std::vector<unsigned char> switched = shot("switched"), again = shot("again");
  EXPECT_TRUE(showsText(switched.data(), 110, 70, kOrdinary, "EFFECTS       OFF"));
  EXPECT_TRUE(showsText(switched.data(), 110, 100, kOrdinary, "DEBRIS        OFF          F6"));
  EXPECT_TRUE(showsText(switched.data(), 110, 110, kOrdinary, "MAP           ON           F5"));
  EXPECT_TRUE(showsText(switched.data(), 110, 120, kSelected, "STATUSLINE    FULL"));
  EXPECT_TRUE(showsText(again.data(), 110, 70, kSelected, "EFFECTS       ON "));
  EXPECT_TRUE(showsText(again.data(), 110, 100, kOrdinary, "DEBRIS        OFF          F6"));
  EXPECT_EQ(settings.effectsOn, 1);
  EXPECT_EQ(settings.speakerOn, 0);
  EXPECT_EQ(settings.debrisOn, 0);
  EXPECT_EQ(settings.mapOn, 1);
  EXPECT_EQ(settings.statusLineFull, 1);
}

TEST_F(OptionsMenu, HeldArrowsMoveTheTurnSpeedOneAPassWithin30And70) {
  soundAvailable = 1;
  useScript("hold RIGHT 3\n" + tap("DOWN", 4) + "hold RIGHT 5\nshot raised\nhold RIGHT 30\n" +
            "shot fastest\nhold LEFT 50\nshot slowest\n" + tap("SPACE") + "shot reset\n");
  runOptionsMenu();
  std::vector<unsigned char> raised = shot("raised"), fastest = shot("fastest"),
                             slowest = shot("slowest"), reset = shot("reset");
  EXPECT_TRUE(showsText(raised.data(), 176, 140, kSelected, "55"));
  EXPECT_TRUE(showsText(fastest.data(), 176, 140, kSelected, "70"));
  EXPECT_TRUE(showsText(fastest.data(), 190, 140, kSelected, "FAST"));
  EXPECT_TRUE(showsText(slowest.data(), 176, 140, kSelected, "30"));
  EXPECT_TRUE(showsText(slowest.data(), 190, 140, kSelected, "SLOW"));
  EXPECT_TRUE(showsText(reset.data(), 176, 140, kSelected, "50    "));
  EXPECT_EQ(settings.turnSpeed, 50);
}

TEST_F(OptionsMenu, FastAndSlowShowOnlyOutside40To60) {
  const struct {
    uint8_t speed;
    const char* word;
  } cases[] = {{61, "FAST"}, {60, "    "}, {40, "    "}, {39, "SLOW"}};
  for (const auto& c : cases) {
    resetScreenState();
    settings.turnSpeed = c.speed;
    useScript("wait 1\n");
    runOptionsMenu();
    EXPECT_TRUE(showsText(headlessScreen(), 110, 140, kOrdinary, "TURNSPEED")) << int(c.speed);
    EXPECT_TRUE(showsText(headlessScreen(), 190, 140, kOrdinary, c.word)) << int(c.speed);
  }
}

TEST_F(OptionsMenu, TheF4ThatOpenedItDoesNotCloseItButANewPressDoes) {
  useScript("hold F4 5\nwait 2\nhold F4 1\nwait 10\n");
  runOptionsMenu();
  EXPECT_EQ(headlessPollCount(), 8 + 1);
  EXPECT_FALSE(controls.quickExit);
}

TEST_F(OptionsMenu, EnterClosesItInThePassItIsSeenWithThatPassStillShown) {
  useScript("wait 3\nhold ENTER 1\nwait 10\n");
  runOptionsMenu();
  EXPECT_EQ(headlessPollCount(), 4 + 1);
  EXPECT_TRUE(showsText(headlessScreen(), 110, 160, kOrdinary, "EXIT OPTIONS               F4"));
  EXPECT_FALSE(controls.fire);
}

TEST_F(OptionsMenu, EscapeDoesNotCloseItAndIsWaitedForOnTheWayOut) {
  useScript("hold ESC 5\nhold ENTER ESC 1\nhold ESC 3\nwait 10\n");
  runOptionsMenu();
  EXPECT_EQ(headlessPollCount(), 6 + 4);
  EXPECT_FALSE(controls.escape);
}

TEST_F(OptionsMenu, F12ClosesItSoThatTheProgramCanEnd) {
  useScript("hold F4 4\n");
  runOptionsMenu();
  EXPECT_EQ(headlessPollCount(), 5 + 1);
  EXPECT_TRUE(controls.quickExit);
}

TEST_F(OptionsMenu, EntryStopsTheThrustSoundAndLeavingStopsTheLevelClock) {
  shipThrusting = 1;
  useScript("wait 1\n");
  runOptionsMenu();
  EXPECT_EQ(shipThrusting, 0);
  EXPECT_EQ(levelState.dt, 0.0f);
  EXPECT_EQ(levelState.frameMs, 0);
}

TEST_F(OptionsMenu, ShowsTheHeadingsTheLinesAndTheKeyReminder) {
  soundAvailable = 1;
  useScript("wait 1\n");
  runOptionsMenu();
  const unsigned char* screen = headlessScreen();
  EXPECT_TRUE(showsText(screen, 100, 30, 42, "O  P  T  I  O  N  S  :"));
  EXPECT_EQ(screen[35 * kScreenWidth + 102], 43);  // the shadow below the O
  EXPECT_TRUE(showsText(screen, 100, 60, 42, "SOUND:"));
  EXPECT_TRUE(showsText(screen, 110, 70, kSelected, "EFFECTS       ON "));
  EXPECT_TRUE(showsText(screen, 110, 80, kUnavailable, "SPEAKER       OFF"));
  EXPECT_TRUE(
      showsText(screen, 100, 90, 42, "DISPLAY:   (MORE DETAILS MAY REDUCE YOUR FRAMERATE)"));
  EXPECT_TRUE(showsText(screen, 110, 100, kOrdinary, "DEBRIS        ON           F6"));
  EXPECT_TRUE(showsText(screen, 110, 110, kOrdinary, "MAP           OFF          F5"));
  EXPECT_TRUE(showsText(screen, 110, 120, kOrdinary, "STATUSLINE    TEMPORARY"));
  EXPECT_TRUE(showsText(screen, 100, 130, 42, "STEERING:"));
  EXPECT_TRUE(showsText(screen, 110, 140, kOrdinary, "TURNSPEED"));
  EXPECT_TRUE(showsText(screen, 176, 140, kOrdinary, "50      "));
  EXPECT_TRUE(showsText(screen, 110, 160, kOrdinary, "EXIT OPTIONS               F4"));
  EXPECT_TRUE(showsText(screen, 50, 180, 42, "RETURN - EXIT      SPACE - TOGGLE       CRSUP/DOWN"));
}

}  // namespace
