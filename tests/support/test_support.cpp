#include "support/test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "input/controls.h"
#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "video/video_mode.h"

void startHeadlessVideo() {
  headlessReset();
  vga_setmode(G320x200x256);
  videoMemory = vga_getgraphmem();
  clearFrame(0, kScreenHeight);
  startKeyboard();  // as the game does at start-up: the cursor block reads as the keypad arrows
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
