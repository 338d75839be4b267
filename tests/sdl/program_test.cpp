// The game program on the SDL2 backend, with SDL's dummy video driver standing
// in for a display, and with no display at all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct GameRun {
  pid_t pid = 0;
  std::string outputPath;
};

GameRun startGame(const std::vector<std::string>& environment) {
  std::string folder =
      std::filesystem::temp_directory_path() / ("kravix-sdl-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  GameRun run;
  run.outputPath = folder + "/stdout.txt";
  std::vector<std::string> env = environment;
  env.push_back("HOME=" + folder);
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(KRAVIX_GAME_PATH), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, run.outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  EXPECT_EQ(posix_spawn(&run.pid, argv[0], &actions, nullptr, argv, envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

// The sound server is forked after the window is open, when the game takes
// SIGINT and SIGTERM as F12; a signal before that would end it the hard way.
void waitUntilTheSoundStarts(pid_t pid) {
  std::string children =
      "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
  for (int i = 0; i < 1000; ++i) {
    std::ifstream list(children);
    std::string first;
    if (list >> first) return;
    usleep(10 * 1000);
  }
}

int exitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string output(const GameRun& run) {
  std::ifstream file(run.outputPath);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(GameProgram, WithoutAnyDisplayTheModeIsMissingAndTheGameEndsWithStatusOne) {
  GameRun run = startGame({"PATH=/usr/bin:/bin"});
  EXPECT_EQ(exitStatus(run.pid), 1);
  EXPECT_EQ(output(run), "vga_setmode: Graphic mode G320x200x256 not available.\n");
}

TEST(GameProgram, SigtermAndSigintTakeTheOrdinaryWayOutWithStatusZero) {
  for (int signalNumber : {SIGTERM, SIGINT}) {
    GameRun run = startGame({"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    waitUntilTheSoundStarts(run.pid);
    kill(run.pid, signalNumber);
    EXPECT_EQ(exitStatus(run.pid), 0) << "signal " << signalNumber;
  }
}

}  // namespace
