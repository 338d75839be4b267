// The game program on the SDL2 backend, with SDL's dummy video driver standing
// in for a display, and with no display at all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const std::string kFolder =
    std::filesystem::temp_directory_path() / ("kravix-sdl-" + std::to_string(getpid()));

// Starts the game with this environment and HOME in a folder of its own; its output goes to a file.
pid_t startGame(std::vector<std::string> environment) {
  std::filesystem::create_directories(kFolder);
  environment.push_back("HOME=" + kFolder);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char* argv[] = {const_cast<char*>(KRAVIX_GAME_PATH), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (kFolder + "/stdout.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t group;  // a group of its own, so that a hung game goes with its sound server
  posix_spawnattr_init(&group);
  posix_spawnattr_setflags(&group, POSIX_SPAWN_SETPGROUP);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, &group, argv, envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&group);
  return pid;
}

// The game's exit status; a game still running after twenty seconds is killed and gives -1.
int exitStatus(pid_t pid) {
  int status = 0;
  pid_t done = 0;
  for (int i = 0; i < 2000 && (done = waitpid(pid, &status, WNOHANG)) == 0; ++i) usleep(10000);
  if (done == 0) {
    kill(-pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(GameProgram, WithoutAnyDisplayTheModeIsMissingAndTheGameEndsWithStatusOne) {
  EXPECT_EQ(exitStatus(startGame({"PATH=/usr/bin:/bin"})), 1);
  std::ifstream output(kFolder + "/stdout.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(output), {}),
            "vga_setmode: Graphic mode G320x200x256 not available.\n");
}

TEST(GameProgram, SigtermAndSigintTakeTheOrdinaryWayOutWithStatusZero) {
  for (int signalNumber : {SIGTERM, SIGINT}) {
    const pid_t pid = startGame({"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    // The game takes the signals as F12 once the window is open and the sound
    // server forked; a signal before that would end it the hard way.
    const std::string children =
        "/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children";
    std::string child;
    for (int i = 0; i < 1000 && !(std::ifstream(children) >> child); ++i) usleep(10 * 1000);
    kill(pid, signalNumber);
    EXPECT_EQ(exitStatus(pid), 0) << "signal " << signalNumber;
  }
}

}  // namespace
