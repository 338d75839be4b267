#include "support/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "video/video_mode.h"

void startHeadlessVideo() {
  headlessReset();
  vga_setmode(G320x200x256);
  videoMemory = vga_getgraphmem();
  clearFrame(0, kScreenHeight);
}

void useScript(const std::string& script) {
  std::string error;
  ASSERT_TRUE(headlessLoadScript(script, &error)) << error;
}

std::vector<std::string> paintedPixels() {
  std::vector<std::string> painted;
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      if (getPixel(x, y) != 0) painted.push_back(std::to_string(x) + "," + std::to_string(y));
    }
  }
  return painted;
}

std::string makeTempFolder(const std::string& name) {
  const char* base = std::getenv("TEST_TMPDIR");
  std::filesystem::path folder = std::filesystem::path(base ? base : "/tmp") /
                                 ("kravix-test-" + std::to_string(getpid())) / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<unsigned char> readShotIndices(const std::string& path) {
  const std::string bytes = readWhole(path);
  return {bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64000)};
}

pid_t startIn(const std::string& folder, std::vector<std::string> arguments) {
  std::vector<std::string> environment = {"HOME=" + folder, "PATH=/usr/bin:/bin"};
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
  pid_t child = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) child = -1;
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

int exitStatus(pid_t child) {
  int status = 0;
  if (child <= 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

RunResult runHeadless(const std::string& script, const std::string& folder,
                      const std::vector<std::string>& extraArguments) {
  std::ofstream(folder + "/run.script") << script;
  std::vector<std::string> arguments = {KRAVIX_HEADLESS_PATH, "--script", folder + "/run.script",
                                        "--out", folder};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  RunResult result;
  result.status = exitStatus(startIn(folder, arguments));
  result.output = readWhole(folder + "/stdout.txt");
  return result;
}
