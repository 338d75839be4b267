// The game program on the SDL2 backend, with SDL's dummy video driver standing
// in for a display, with a real X server (Xvfb) when one is installed, and with
// no display at all: its ways out, the alarm signal and closed standard streams,
// its options, and a demo recorded by the window.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "support/child_process.h"

namespace {

const std::string kFolder =
    std::filesystem::temp_directory_path() / ("kravix-sdl-" + std::to_string(getpid()));

const std::vector<std::string> kDummyDrivers = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};

// Whether the process catches the signal, from /proc.
bool catches(pid_t pid, int signalNumber) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line) && line.rfind("SigCgt:", 0) != 0) {
  }
  return line.size() > 8 && std::stoull(line.substr(8), nullptr, 16) & (1ull << (signalNumber - 1));
}

void waitUntilItCatches(pid_t pid, int signalNumber) {
  for (int i = 0; i < 2000 && !catches(pid, signalNumber); ++i) usleep(1000);
}

// The game takes SIGINT and SIGTERM as F12 once SDL has taken them (a signal
// before that ends it the hard way, with nothing to undo); the sound server is
// forked after the window opens.
void waitForTheWindowAndTheSoundServer(pid_t pid) {
  waitUntilItCatches(pid, SIGTERM);
  const std::string children =
      "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
  std::string child;
  for (int i = 0; i < 1000 && !(std::ifstream(children) >> child); ++i) usleep(10 * 1000);
}

// Starts the game again and again and sends SIGALRM at a different moment of
// its start or its title each time: every start must end with status 1.
void expectEveryAlarmToEndWithStatusOne(const std::vector<std::string>& environment) {
  std::filesystem::create_directories(kFolder);
  for (int start = 0; start < 40; ++start) {
    const pid_t pid = startIn(kFolder, {KRAVIX_GAME_PATH}, environment);
    waitUntilItCatches(pid, SIGALRM);
    usleep(static_cast<useconds_t>(start * 7919 % 250) * 1000);
    kill(pid, SIGALRM);
    ASSERT_EQ(exitStatus(pid, 10), 1) << "start " << start << " (-1: hung)";
  }
}

// The streams it was started without lead to /dev/null, not to whatever the
// game opened next (the display connection, the sound pipe), and the game
// still takes the ordinary way out on the signal.
void expectClosedStreamsOnDevNull(const std::vector<std::string>& environment,
                                  int signalNumber = SIGTERM) {
  std::filesystem::create_directories(kFolder);
  const pid_t pid = startIn(kFolder, {KRAVIX_GAME_PATH}, environment, {0, 1, 2});
  waitForTheWindowAndTheSoundServer(pid);
  for (int stream : {0, 1, 2}) {
    const std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(stream);
    EXPECT_EQ(std::filesystem::read_symlink(link), "/dev/null") << "stream " << stream;
  }
  kill(pid, signalNumber);
  EXPECT_EQ(exitStatus(pid, 20), 0) << "signal " << signalNumber;
}

TEST(GameProgram, AnAlarmAtAnyMomentEndsWithStatusOne) {
  expectEveryAlarmToEndWithStatusOne(kDummyDrivers);
}

TEST(GameProgram, StartedWithoutItsStandardStreamsItOpensThemOnDevNullAndEndsOnSigtermOrSigint) {
  for (int signalNumber : {SIGTERM, SIGINT})
    expectClosedStreamsOnDevNull(kDummyDrivers, signalNumber);
}

// A real X server (Xvfb), where an alarm handled inside the signal hung in Xlib
// about one start in ten, and where the connection took a closed stdout's number.
class GameInAnXWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(kXvfb, X_OK) != 0) GTEST_SKIP() << kXvfb << " is not installed";
    int displayNumber[2];
    ASSERT_EQ(pipe(displayNumber), 0);
    std::filesystem::create_directories(kFolder);
    server_ = startIn(kFolder, {kXvfb, "-displayfd", std::to_string(displayNumber[1]), "-nolisten",
                                "tcp", "-screen", "0", "640x480x24"});
    close(displayNumber[1]);
    char number[16] = {};
    ssize_t got = read(displayNumber[0], number, sizeof number - 1);
    close(displayNumber[0]);
    ASSERT_GT(got, 0) << "Xvfb did not start";
    display_ = "DISPLAY=:" + std::string(number, std::strcspn(number, "\n"));
  }
  void TearDown() override {
    if (server_ <= 0) return;
    kill(-server_, SIGTERM);
    exitStatus(server_, 10);
  }
  // Under LeakSanitizer: the D-Bus library that SDL's X11 driver loads keeps a
  // buffer to the end, which would turn the ordinary way out into status 1.
  std::vector<std::string> environment() const {
    std::ofstream(kFolder + "/x11.supp") << "leak:libdbus-1.so\n";
    return {display_, "SDL_AUDIODRIVER=dummy",
            "LSAN_OPTIONS=suppressions=" + kFolder + "/x11.supp"};
  }

  static constexpr const char* kXvfb = "/usr/bin/Xvfb";
  pid_t server_ = -1;
  std::string display_;
};

TEST_F(GameInAnXWindow, AnAlarmAtAnyMomentEndsWithStatusOne) {
  expectEveryAlarmToEndWithStatusOne(environment());
}

TEST_F(GameInAnXWindow, StartedWithoutItsStandardStreamsItOpensThemOnDevNull) {
  expectClosedStreamsOnDevNull(environment());
}

std::string freshFolder(const std::string& name) {
  const std::string folder = kFolder + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// Level 1 won as the playthrough wins it, Escape on the next intro, "TZ" typed as a high score.
std::string levelWonAndNamed() {
  const std::string round = readWhole(std::string(KRAVIX_SOURCE_DIR) + "/demos/playthrough.script");
  return round.substr(0, round.find("# level 2")) +
         "wait 20\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold Z 1\nwait 500\nhold ENTER 1\n"
         "wait 3\nshot table\n";
}

// Without a display the mode is missing and the game ends with status 1; the
// options answer before that, a bad one with a short usage and status 2.
TEST(GameProgram, WithoutADisplayStatusOneAndOptionsHelpVersionOrAShortUsage) {
  const std::string folder = freshFolder("options");
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH}), 20), 1);
  EXPECT_NE(readWhole(folder + "/stdout.txt").find("not available"), std::string::npos);
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--help"}), 20), 0);
  const std::string help = readWhole(folder + "/stdout.txt");
  for (const char* option : {"--record FILE", "--play FILE", "--print-keys"})
    EXPECT_NE(help.find(option), std::string::npos) << help;
  EXPECT_EQ(exitStatus(startIn(folder, {KRAVIX_GAME_PATH, "--version"}), 20), 0);
  EXPECT_EQ(readWhole(folder + "/stdout.txt").substr(0, 7), "kravix ");
  std::ofstream(folder + "/cut.demo") << "demo 1\nsettings 1 0 1 0 0 50\n";
  for (const char* bad : {"--bogus", "-x", "stray", "--play", "--help=yes", "--play cut.demo",
                          "--play missing.demo", "--play .", "--record no/such/folder"}) {
    const std::string line = std::string("exec ") + KRAVIX_GAME_PATH + " " + bad;
    EXPECT_EQ(exitStatus(startIn(folder, {"/bin/sh", "-c", line}), 20), 2) << bad;
  }
}

TEST(GameProgram, TheWindowsRecordingPlaysBackHeadlessToTheSameScoreFile) {
  const std::string window = freshFolder("window");
  const std::string runner = freshFolder("runner");
  const std::string replay = freshFolder("replay");
  std::ofstream(window + "/game.script") << levelWonAndNamed();
  std::ofstream(runner + "/game.script") << levelWonAndNamed();
  std::ofstream(window + "/.kravix.sco") << "the player's own file";
  // No key reaches the dummy driver's window: it plays the script at its pace (20 ms a frame),
  // recording what the game reads.
  const pid_t played = startIn(
      window, {KRAVIX_GAME_PATH, "--play", "game.script", "--record", "game.demo"}, kDummyDrivers);
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
