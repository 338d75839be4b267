// The screens: the title with its turning logo, help and the options menu over
// a level, and the screenshot writer; checked on the presented screen, on shots
// taken between keys, and on files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "input/controls.h"
#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "screens/help_screen.h"
#include "screens/options_menu.h"
#include "screens/screenshot.h"
#include "screens/title_logo.h"
#include "screens/title_screen.h"
#include "sound/sound_effects.h"
#include "state/game_state.h"
#include "state/level_state.h"
#include "state/settings.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"

namespace fs = std::filesystem;

namespace {

// The text's cells at (x, y) show the colour exactly where its glyphs are set.
bool shows(const unsigned char* screen, int x, int y, uint8_t colour, const std::string& text) {
  return showsText(screen, x, y, colour, text, true);
}

// Resets the headless backend and every record the screens read or write, with
// the level in motion as the level loop leaves it for help and options.
void resetScreenState() {
  startHeadlessVideo();
  controls = {};
  gameState = {};
  levelState = {};
  levelState.shipY = 550;
  levelState.craftColour = 29;
  levelState.dt = 0.6f;
  levelState.frameMs = 30;
  settings = {1, 0, 1, 0, 0, 50};
  soundAvailable = 0;
  shipThrusting = 0;
}

TEST(TitleScreen, TheLogoTurnsAboutItsVerticalAxisAndKeysAndTheLogoDecideWhenItEnds) {
  // The logo facing the viewer, edge-on and half way round, pinned by digests of the frame.
  const std::pair<uint32_t, uint64_t> logos[] = {
      {0, 6322842781467608037u}, {141, 13803878340609642193u}, {283, 14948871549759863547u}};
  for (const auto& [angle, digest] : logos) {
    clearFrame(0, kScreenHeight);
    drawTitleLogo(angle);
    EXPECT_EQ(digestOf(frameBuffer.pixels, kFrameBytes), digest) << angle;
  }
  // The polls and presents it takes, F12 and the quit as it leaves them, and the angle
  // at which rows 0..89 show the logo and nothing else (-1: they are blank).
  const std::tuple<const char*, const char*, int, int, bool, bool, int> cases[] = {
      // two blank frames and the fixed text, with the audio line as a device works
      {"F12 on arrival", "", 1, 3, true, false, -1},
      {"keys held on entry are ignored", "hold ENTER SPACE ESC 5\nwait 100\n", 106, 103, true,
       false, 99},
      // 1000 idle frames leave the angle at 1000 - 565 = 435; Enter makes the speed 2,
      // and 436 + 2 * 65 passes 564.
      {"Enter after a long idle", "wait 1001\nhold ENTER 1\nwait 1000\n", 1 + 1001 + 65, 3 + 1066,
       false, false, 564},
      {"Escape draws one more frame", "wait 10\nhold ESC 1\nwait 100\n", 11, 13, false, true, 9},
  };
  for (const auto& [what, script, polls, presents, quickExit, quitRequested, angle] : cases) {
    SCOPED_TRACE(what);
    resetScreenState();
    soundAvailable = angle < 0;
    useScript(script);
    runTitleScreen();
    EXPECT_EQ(headlessPollCount(), polls);
    EXPECT_EQ(headlessPresentCount(), presents);
    EXPECT_EQ(controls.quickExit, quickExit);
    EXPECT_EQ(gameState.quitRequested, quitRequested);
    EXPECT_EQ(shows(headlessScreen(), 20, 190, 14, "/DEV/DSP AUDIO DEVICE READY"), angle < 0);
    const uint64_t band = digestOf(headlessScreen(), 90 * kScreenWidth);
    clearFrame(0, kScreenHeight);
    if (angle >= 0) drawTitleLogo(angle);
    EXPECT_EQ(band, digestOf(frameBuffer.pixels, 90 * kScreenWidth));
  }
  soundAvailable = 0;
}

constexpr uint8_t kOrdinary = 66, kSelected = 15, kUnavailable = 114;

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
    controls.options = 1;
    headlessSetOutDir(folder);
    std::string script;
    for (size_t i = 0; i < steps.size(); ++i)
      script += steps[i] + "shot " + std::to_string(i) + "\n";
    useScript(script + after);
    runOptionsMenu();
    shots.clear();
    for (size_t i = 0; i < steps.size(); ++i)
      shots.push_back(readShotIndices(folder + "/" + std::to_string(i) + ".idx"));
  }
  bool shows(size_t shot, int x, int y, uint8_t colour, const std::string& text) {
    return showsText(shots[shot].data(), x, y, colour, text, true);
  }

  std::string folder = makeTempFolder("options");
  std::vector<std::vector<unsigned char>> shots;
};

TEST_F(OptionsMenu, SpaceSwitchesTheSelectedLineOncePerPressAndTheSpeakerShowsOnForOnePass) {
  run(false, {"wait 1\nhold SPACE 1\n", "wait 1\n"});  // without sound, from SPEAKER
  EXPECT_TRUE(shows(0, 110, 80, kUnavailable, "SPEAKER       ON "));
  EXPECT_TRUE(shows(0, 110, 70, kUnavailable, "EFFECTS       OFF"));
  EXPECT_TRUE(shows(1, 110, 80, kUnavailable, "SPEAKER       OFF"));
  int shadow = 0;  // the title's shadow shows one pixel right of and below the heading
  for (int y = 31; y < 37; ++y)
    shadow += std::count(&shots[0][y * 320 + 101], &shots[0][y * 320 + 200], 43);
  EXPECT_GT(shadow, 20);

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

// Help opens on F1 and options on F4 over a level: only a new key closes either.
TEST(HelpAndOptions, OnlyANewKeyClosesThemAndTheLevelResumesFromAStandstill) {
  // The screen, its keys, its polls (with one more for the Escape check on the way out),
  // and whether F12 is left held; the options have a working sound device.
  const std::tuple<const char*, void (*)(), std::string, int, bool> cases[] = {
      {"help: F1 held keeps it open, a new F1 closes it", runHelpScreen,
       "hold F1 10\nwait 5\nhold F1 1\nwait 100\n", 10 + 5 + 1 + 1, false},
      {"help: no key closes it while the opening F1 is held", runHelpScreen,
       "hold F1 ENTER 3\nhold F1 ESC 3\nhold F1 F12 2\nwait 4\nhold ENTER 1\nwait 10\n",
       3 + 3 + 2 + 4 + 1 + 1, false},
      {"help: Escape closes it and is waited out", runHelpScreen,
       "hold F1 2\nwait 1\nhold ESC 6\nwait 3\n", 4 + 6, false},
      {"help: F12 closes it once F1 is up", runHelpScreen, "hold F1 3\n", 3 + 1 + 1, true},
      {"options: the opening F4 held, then a new F4", runOptionsMenu,
       "hold F4 5\nwait 2\nhold F4 1\nwait 10\n", 8 + 1, false},
      {"options: Enter, in the pass it is seen", runOptionsMenu, "wait 3\nhold ENTER 1\nwait 10\n",
       4 + 1, false},
      {"options: Escape does not close it and is waited out", runOptionsMenu,
       "hold ESC 5\nhold ENTER ESC 1\nhold ESC 3\nwait 10\n", 6 + 4, false},
      {"options: Space on EXIT OPTIONS", runOptionsMenu, tap("DOWN", 5) + "hold SPACE 1\nwait 10\n",
       10 + 1 + 1, false},
      {"options: F12", runOptionsMenu, "hold F4 4\n", 5 + 1, true},
  };
  for (const auto& [what, screen, script, polls, quickExit] : cases) {
    SCOPED_TRACE(what);
    resetScreenState();
    const bool help = screen == runHelpScreen;
    (help ? controls.help : controls.options) = 1;  // as the level loop opens it
    soundAvailable = !help;
    shipThrusting = 1;
    useScript(script);
    screen();
    EXPECT_EQ(headlessPollCount(), polls);
    EXPECT_EQ(controls.quickExit, quickExit);
    EXPECT_FALSE(controls.escape || controls.fire) << "the level sees neither key";
    EXPECT_TRUE(help || shipThrusting == 0) << "entering options stops the thrust sound";
    EXPECT_EQ(levelState.dt, 0.0f);
    EXPECT_EQ(levelState.frameMs, 0);
    EXPECT_TRUE(!help || shows(headlessScreen(), 80, 40, 31, "         A : TURN LEFT"));
  }
  EXPECT_TRUE(shows(headlessScreen(), 110, 160, kOrdinary, "EXIT OPTIONS               F4"));
  soundAvailable = 0;
}

std::string shotName(int n) {
  return (n < 10 ? "screen0" : "screen") + std::to_string(n) + ".ppm";
}
std::string testLines(int tried) {
  std::string lines;
  for (int n = 0; n < tried; ++n) lines += "test " + shotName(n) + "\n";
  return lines;
}

class Screenshot : public ::testing::Test {
 protected:
  void SetUp() override {
    resetScreenState();
    fs::current_path(
        makeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    controls.screenshot = 1;  // the level loop calls it on F3
  }
  void TearDown() override { fs::current_path(home); }

  // Saves with the given keys; returns what went to standard output.
  std::string save(const std::string& script) {
    useScript(script);
    ::testing::internal::CaptureStdout();
    saveScreenshot();
    return ::testing::internal::GetCapturedStdout();
  }

  fs::path home = fs::current_path();
};

TEST_F(Screenshot, EachShotTakesTheFirstFreeNameAndScreen99WhenAllAreTaken) {
  for (auto [present, written] : {std::pair{0, 0}, {5, 5}, {100, 99}}) {
    for (const auto& entry : fs::directory_iterator(".")) fs::remove(entry.path());
    for (int n = 0; n < present; ++n) std::ofstream(shotName(n)) << "x";
    for (int i = 0; i < kFrameBytes; ++i)
      frameBuffer.pixels[i] = static_cast<uint8_t>(i * 7 + i / 320);
    putPixel(0, 0, 15);  // the default palette times four: white, 63 * 4 = 252 each
    putPixel(1, 0, 6);   // brown, (168, 84, 0)
    EXPECT_EQ(save(""), testLines(written + 1));
    const std::string file = readWhole(shotName(written));
    EXPECT_EQ(digestOf(file.data(), file.size()), 16502716143408375861u);
    EXPECT_TRUE(written == 0 || fs::file_size(shotName(written - 1)) == 1);
    EXPECT_FALSE(fs::exists("screen100.ppm"));
  }
}

TEST_F(Screenshot, NoShotIsWrittenThroughALinkOrIntoAnotherName) {
  const fs::path elsewhere = makeTempFolder("screenshot-link-targets");
  fs::create_symlink(elsewhere / "new.ppm", shotName(0));  // dangling: taken, never followed
  EXPECT_EQ(save(""), testLines(2));
  EXPECT_FALSE(fs::exists(elsewhere / "new.ppm"));
  EXPECT_EQ(fs::file_size(shotName(1)), 15 + kFrameBytes * 3 + 1u) << "a whole shot";

  // All hundred names taken: screen99.ppm is overwritten only as a plain file of its own.
  for (int n = 2; n < 99; ++n) std::ofstream(shotName(n)) << "x";
  std::ofstream(elsewhere / "notes.txt") << "notes";
  for (bool hardLink : {false, true}) {
    fs::remove(shotName(99));
    if (hardLink) fs::create_hard_link(elsewhere / "notes.txt", shotName(99));
    if (!hardLink) fs::create_symlink(elsewhere / "notes.txt", shotName(99));
    const int polls = headlessPollCount();
    EXPECT_EQ(save("hold F3 3\n"), testLines(100));
    EXPECT_EQ(headlessPollCount(), polls) << "passed over at once";
    EXPECT_EQ(readWhole(elsewhere / "notes.txt"), "notes");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 100);
}

TEST_F(Screenshot, AFolderThatTakesNoFilesOrAFailedWriteNeverStopsTheGame) {
  std::string said;
  withWritesFailing([&] { said = save("hold F3 3\nwait 1\n"); });
  EXPECT_EQ(said, testLines(1));
  EXPECT_EQ(headlessPollCount(), 4);

  fs::path gone = fs::current_path() / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  fs::remove(gone);  // nothing can be created in a removed working directory, even by root
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, 9);
  EXPECT_EQ(save("hold F3 5\n"), "test screen00.ppm\n");
  EXPECT_EQ(headlessPollCount(), 0) << "passed over at once";
  EXPECT_EQ(getPixel(150, 3), 9) << "no progress box either";
}

}  // namespace
