#include "support/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "video/video_mode.h"

extern char** environ;

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

RunResult runHeadless(const std::string& script, const std::string& folder,
                      const std::vector<std::string>& extraArguments) {
  std::string scriptPath = folder + "/run.script";
  std::ofstream(scriptPath) << script;
  std::string outputPath = folder + "/stdout.txt";
  std::vector<std::string> arguments = {KRAVIX_HEADLESS_PATH, "--script", scriptPath, "--out",
                                        folder};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  std::vector<std::string> environment = {"HOME=" + folder, "PATH=/usr/bin:/bin"};
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  RunResult result;
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  std::ifstream output(outputPath);
  result.output.assign(std::istreambuf_iterator<char>(output), {});
  return result;
}

std::vector<unsigned char> readShotIndices(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(file), {});
  if (bytes.size() >= 64000) bytes.resize(64000);
  return bytes;
}
