// The game program on the SDL2 backend, with SDL's dummy video driver standing
// in for a display, and with no display at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../support/child_process.h"

namespace {

const std::string kFolder =
    std::filesystem::temp_directory_path() / ("kravix-sdl-" + std::to_string(getpid()));

TEST(GameProgram, WithoutAnyDisplayTheModeIsMissingAndTheGameEndsWithStatusOne) {
  std::filesystem::create_directories(kFolder);
  EXPECT_EQ(exitStatus(startIn(kFolder, {KRAVIX_GAME_PATH}), 20), 1);
  std::ifstream output(kFolder + "/stdout.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(output), {}),
            "vga_setmode: Graphic mode G320x200x256 not available.\n");
}

TEST(GameProgram, SigtermAndSigintTakeTheOrdinaryWayOutWithStatusZero) {
  std::filesystem::create_directories(kFolder);
  for (int signalNumber : {SIGTERM, SIGINT}) {
    const pid_t pid =
        startIn(kFolder, {KRAVIX_GAME_PATH}, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    // The game takes the signals as F12 once the window is open and the sound
    // server forked; a signal before that would end it the hard way.
    const std::string children =
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
    std::string child;
    for (int i = 0; i < 1000 && !(std::ifstream(children) >> child); ++i) usleep(10 * 1000);
    kill(pid, signalNumber);
    EXPECT_EQ(exitStatus(pid, 20), 0) << "signal " << signalNumber;
  }
}

}  // namespace

// Options and demos of the game program. Under SDL's dummy driver no key
// reaches the window, so the window plays a runner script and records it.
namespace {

const std::vector<std::string> kDummy = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::string freshFolder(const std::string& name) {
  const std::string folder = kFolder + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// Level 1 won from the first frame, Escape on the next intro, "TZ" typed as a high score.
std::string levelWonAndNamed() {
  return "wait 2\nhold ENTER 1\nwait 300\nhold ENTER 1\n" +
         readWhole(std::string(KRAVIX_SOURCE_DIR) + "/tests/e2e/level_one_tow.script") +
         "wait 20\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold Z 1\nwait 500\nhold ENTER 1\n"
         "wait 3\nshot table\n";
}

TEST(GameProgram, OptionsHelpVersionAndAShortUsageForAnUnknownOne) {
  const std::string folder = freshFolder("options");
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--help"}), 20), 0);
  const std::string help = readWhole(folder + "/stdout.txt");
  EXPECT_NE(help.find("--record FILE"), std::string::npos) << help;
  EXPECT_NE(help.find("--play FILE"), std::string::npos) << help;
  EXPECT_NE(help.find("--print-keys"), std::string::npos) << help;
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--version"}), 20), 0);
  EXPECT_EQ(readWhole(folder + "/stdout.txt").substr(0, 7), "kravix ");
  // Without a display: had the game started, it would end with status 1.
  for (const char* bad : {"--bogus", "-x", "stray", "--play", "--help=yes"}) {
    EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, bad}), 20), 2) << bad;
  }
}

TEST(GameProgram, ABadDemoIsRefusedBeforeAnythingOpens) {
  const std::string folder = freshFolder("baddemo");
  std::ofstream(folder + "/cut.demo") << "demo 1\nsettings 1 0 1 0 0 50\n";
  std::ofstream(folder + "/foreign.demo") << "\x7f"
                                             "ELF\x02\x01";
  for (const char* demo : {"cut.demo", "foreign.demo", "missing.demo", "."}) {
    EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--play", demo}), 20), 2) << demo;
  }
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--record", "no/such/folder"}), 20), 2);
}

TEST(GameProgram, TheWindowsRecordingPlaysBackHeadlessToTheSameScoreFile) {
  const std::string window = freshFolder("window");
  const std::string runner = freshFolder("runner");
  const std::string replay = freshFolder("replay");
  std::ofstream(window + "/game.script") << levelWonAndNamed();
  std::ofstream(runner + "/game.script") << levelWonAndNamed();
  std::ofstream(window + "/.kravix.sco") << "the player's own file";
  // The window plays the script at its pace (20 ms a frame), recording what the game reads.
  const pid_t played =
      startIn(window, {KRAVIX_GAME_PATH, "--play", "game.script", "--record", "game.demo"}, kDummy);
  EXPECT_EQ(exitStatus(played, 300), 0);
  EXPECT_EQ(readWhole(window + "/.kravix.sco"),
            "the player's own file");  // neither read nor written
  EXPECT_EQ(exitStatus(startIn(runner, {KRAVIX_HEADLESS_PATH, "--script", "game.script"}), 60), 0);
  std::filesystem::copy_file(window + "/game.demo", replay + "/game.demo");
  EXPECT_EQ(exitStatus(startIn(replay, {KRAVIX_HEADLESS_PATH, "--script", "game.demo"}), 60), 0);
  const std::string saved = readWhole(runner + "/.kravix.sco");
  EXPECT_EQ(saved.size(), 492u);
  EXPECT_EQ(readWhole(replay + "/.kravix.sco"), saved);
  EXPECT_EQ(readWhole(replay + "/table.ppm"), std::string());  // the window passes shots over
}

}  // namespace
