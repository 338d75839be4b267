// The game's programs run as children in a folder of their own, which is also
// their HOME, with standard output going to stdout.txt there. A child never
// outlives the test: it is killed with its group after its time limit, and
// by the kernel when the test's process ends. Header-only, so
// that the SDL tests, which link no headless backend, share it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

// Starts the program with HOME, PATH, the sanitizers' options and the extra
// environment entries, the standard streams in `closed` closed; its pid, or -1.
// Call from the main thread: the kernel ties the child's death to that thread.
inline pid_t startIn(const std::string& folder, std::vector<std::string> arguments,
                     std::vector<std::string> environment = {},
                     const std::vector<int>& closed = {}) {
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
  const std::string output = folder + "/stdout.txt";
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child != 0) return child;
  // Only async-signal-safe calls until the program starts.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  setpgid(0, 0);
  int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || chdir(folder.c_str()) != 0) _exit(127);
  if (out != STDOUT_FILENO) close(out);
  for (int stream : closed) close(stream);
  execve(argv[0], argv.data(), envp.data());
  _exit(127);
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

inline std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// The process's state letter from /proc (R, S, Z, ...); '?' once it is gone.
inline char processState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  return line.empty() ? '?' : line[line.rfind(')') + 2];
}

// Forks a stand-in parent that runs `start` (which starts a process and gives its
// pid) and then waits. Runs `ready` on that process, kills the parent, and gives
// the process ten seconds to end: true when it did. One that stays is killed.
inline bool diesWithItsParent(const std::function<pid_t()>& start,
                              const std::function<void(pid_t)>& ready = {}) {
  int report[2];
  if (pipe(report) != 0) return false;
  const pid_t parent = fork();
  if (parent == 0) {
    const pid_t started = start();
    const bool sent = write(report[1], &started, sizeof started) == sizeof started;
    pause();
    _exit(sent ? 0 : 1);
  }
  close(report[1]);
  pid_t child = 0;
  const bool reported = read(report[0], &child, sizeof child) == sizeof child && child > 0;
  close(report[0]);
  if (reported && ready) ready(child);
  kill(parent, SIGKILL);
  waitpid(parent, nullptr, 0);
  auto gone = [child] { return processState(child) == '?' || processState(child) == 'Z'; };
  for (int i = 0; i < 1000 && reported && !gone(); ++i) usleep(10000);
  if (reported && !gone()) kill(child, SIGKILL);
  return reported && gone();
}
