// The game program on the SDL2 backend, with SDL's dummy video driver standing
// in for a display, with a real X server (Xvfb) when one is installed, and with
// no display at all: its ways out, the alarm signal and closed standard streams.
#include <gtest/gtest.h>

#include <cstring>
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
// still takes the ordinary way out.
void expectClosedStreamsOnDevNull(const std::vector<std::string>& environment) {
  std::filesystem::create_directories(kFolder);
  const pid_t pid = startIn(kFolder, {KRAVIX_GAME_PATH}, environment, {0, 1, 2});
  waitForTheWindowAndTheSoundServer(pid);
  for (int stream : {0, 1, 2}) {
    const std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(stream);
    EXPECT_EQ(std::filesystem::read_symlink(link), "/dev/null") << "stream " << stream;
  }
  kill(pid, SIGTERM);
  EXPECT_EQ(exitStatus(pid, 20), 0);
}

TEST(GameProgram, SigtermAndSigintTakeTheOrdinaryWayOutWithStatusZero) {
  std::filesystem::create_directories(kFolder);
  for (int signalNumber : {SIGTERM, SIGINT}) {
    const pid_t pid = startIn(kFolder, {KRAVIX_GAME_PATH}, kDummyDrivers);
    waitForTheWindowAndTheSoundServer(pid);
    kill(pid, signalNumber);
    EXPECT_EQ(exitStatus(pid, 20), 0) << "signal " << signalNumber;
  }
}

TEST(GameProgram, AnAlarmAtAnyMomentEndsWithStatusOne) {
  expectEveryAlarmToEndWithStatusOne(kDummyDrivers);
}

TEST(GameProgram, StartedWithoutItsStandardStreamsItOpensThemOnDevNull) {
  expectClosedStreamsOnDevNull(kDummyDrivers);
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

}  // namespace
