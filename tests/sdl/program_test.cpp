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
