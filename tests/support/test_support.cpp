#include "support/test_support.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "input/controls.h"
#include "platform/headless/headless.h"
#include "platform/vga.h"
#include "video/frame_buffer.h"
#include "video/text.h"
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

bool showsText(const uint8_t* pixels, int x, int y, uint8_t colour, const std::string& text,
               bool exact) {
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t* glyph = fontGlyphs.rows[static_cast<unsigned char>(text[i]) & 127];
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < (exact ? 4 : 3); ++column) {
        const int px = x + 4 * static_cast<int>(i) + column, py = y + row;
        const bool set = column < 3 && (glyph[row] >> (2 - column)) & 1;
        if (px < 0 || px >= kScreenWidth || py < 0 || py >= kScreenHeight) return false;
        const bool coloured = pixels[py * kScreenWidth + px] == colour;
        if (set ? !coloured : exact && coloured) return false;
      }
    }
  }
  return true;
}

uint64_t digestOf(const void* bytes, size_t size) {
  uint64_t digest = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) {
    digest = (digest ^ static_cast<const uint8_t*>(bytes)[i]) * 1099511628211ull;
  }
  return digest;
}

void withWritesFailing(const std::function<void()>& action) {
  rlimit normal{}, small{100, RLIM_INFINITY};
  getrlimit(RLIMIT_FSIZE, &normal);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  action();
  setrlimit(RLIMIT_FSIZE, &normal);
  std::signal(SIGXFSZ, oldHandler);
}

std::string makeTempFolder(const std::string& name) {
  const char* base = std::getenv("TEST_TMPDIR");
  std::filesystem::path folder = std::filesystem::path(base ? base : "/tmp") /
                                 ("kravix-test-" + std::to_string(getpid())) / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
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
