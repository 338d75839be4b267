// The game's programs run as children in a folder of their own, which is also
// their HOME, with standard output going to stdout.txt there. Header-only, so
// that the SDL tests, which link no headless backend, share it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

// Starts the program in a process group of its own, with HOME, PATH, the
// sanitizers' options and the extra environment entries. Returns its pid, or -1.
inline pid_t startIn(const std::string& folder, std::vector<std::string> arguments,
                     std::vector<std::string> environment = {}) {
  environment.insert(environment.end(), {"HOME=" + folder, "PATH=/usr/bin:/bin"});
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name))
      environment.push_back(std::string(name) + "=" + value);
  }
  std::vector<char*> argv, envp;
  for (std::string& word : arguments) argv.push_back(word.data());
  for (std::string& entry : environment) envp.push_back(entry.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (folder + "/stdout.txt").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  pid_t child = -1;
  if (posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), envp.data()) != 0)
    child = -1;
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return child;
}

// Waits for the child: its exit status, or 128 + signal. One still running
// after the time limit is killed with its group and gives -1.
inline int exitStatus(pid_t child, int limitSeconds = 300) {
  int status = 0;
  pid_t done = 0;
  for (long i = 0; i < limitSeconds * 100L && (done = waitpid(child, &status, WNOHANG)) == 0; ++i) {
    usleep(10000);
  }
  if (done == 0) {
    kill(-child, SIGKILL);
    waitpid(child, &status, 0);
  }
  if (done != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
