#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "input/controls.h"
#include "platform/headless/headless.h"
#include "screens/screen_checks.h"
#include "support/test_support.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "video/screenshot.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kShotBytes = 15 + 320 * 200 * 3 + 1;

std::vector<unsigned char> readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), {});
}

std::string shotName(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "screen%02d.ppm", n);
  return name;
}

std::string testLines(int tried) {
  std::string lines;
  for (int n = 0; n < tried; ++n) lines += "test " + shotName(n) + "\n";
  return lines;
}

// Runs each test in a folder of its own as the working directory.
class Screenshot : public ::testing::Test {
 protected:
  void SetUp() override {
    resetScreenState();
    folder = makeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    home = fs::current_path();
    fs::current_path(folder);
    controls.screenshot = 1;  // the level loop calls it on F3
  }
  void TearDown() override { fs::current_path(home); }

  // Saves with the given keys and returns what went to standard output.
  std::string save(const std::string& script) {
    useScript(script);
    ::testing::internal::CaptureStdout();
    saveScreenshot();
    return ::testing::internal::GetCapturedStdout();
  }
  void makeFiles(int count) {
    for (int n = 0; n < count; ++n) std::ofstream(shotName(n)) << "x";
  }

  fs::path folder, home;
};

TEST_F(Screenshot, TheFirstShotGoesToScreen00) {
  EXPECT_EQ(save(""), "test screen00.ppm\n");
  EXPECT_EQ(fs::file_size("screen00.ppm"), kShotBytes);
}

TEST_F(Screenshot, TheNextShotTakesTheFirstFreeName) {
  makeFiles(5);
  EXPECT_EQ(save(""), testLines(6));
  EXPECT_EQ(fs::file_size("screen05.ppm"), kShotBytes);
  EXPECT_EQ(fs::file_size("screen04.ppm"), 1u);
}

TEST_F(Screenshot, WithAllHundredNamesTakenScreen99IsOverwritten) {
  makeFiles(100);
  EXPECT_EQ(save(""), testLines(100));
  EXPECT_EQ(fs::file_size("screen99.ppm"), kShotBytes);
  EXPECT_EQ(fs::file_size("screen98.ppm"), 1u);
  EXPECT_FALSE(fs::exists("screen100.ppm"));
}

TEST_F(Screenshot, PixelsAreTheDefaultPaletteTimesFourAfterTheHeaderWithOneTrailingByte) {
  for (int i = 0; i < kFrameBytes; ++i)
    frameBuffer.pixels[i] = static_cast<uint8_t>(i * 7 + i / 320);
  putPixel(0, 0, 15);
  putPixel(1, 0, 6);
  FrameBuffer drawn = frameBuffer;
  save("");
  std::vector<unsigned char> file = readFile("screen00.ppm");
  ASSERT_EQ(file.size(), kShotBytes);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 15), "P6\n320 200\n255\n");
  EXPECT_EQ(std::vector<unsigned char>(file.begin() + 15, file.begin() + 21),
            (std::vector<unsigned char>{252, 252, 252, 168, 84, 0}));
  // Every pixel, the rows under the progress box included, as the frame was drawn.
  for (int i = 0; i < kFrameBytes; ++i) {
    for (int c = 0; c < 3; ++c) {
      ASSERT_EQ(file[15 + i * 3 + c], defaultPalette.rgb[drawn.pixels[i]][c] * 4) << i;
    }
  }
  EXPECT_EQ(file.back(), 255);
}

TEST_F(Screenshot, TheProgressBoxIsLeftInTheFrameShowing99ButNothingIsPresented) {
  save("");
  EXPECT_EQ(headlessPresentCount(), 0);
  EXPECT_EQ(getPixel(99, 0), 3);
  EXPECT_EQ(getPixel(193, 6), 3);
  EXPECT_EQ(getPixel(98, 0), 0);
  EXPECT_TRUE(showsText(frameBuffer.pixels, 100, 1, 15, "SAVING SCREEN:    "));
  EXPECT_TRUE(showsText(frameBuffer.pixels, 172, 1, 15, "99 %"));
}

TEST_F(Screenshot, HoldingF3WritesOneFileAndReturnsWhenItIsReleased) {
  save("hold F3 20\nwait 5\n");
  EXPECT_EQ(headlessPollCount(), 21);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(".")) files += entry.path().extension() == ".ppm";
  EXPECT_EQ(files, 1);
}

TEST_F(Screenshot, F12StopsTheWaitForF3) {
  save("hold F3 F12 1000\n");
  EXPECT_EQ(headlessPollCount(), 1);
  EXPECT_EQ(fs::file_size("screen00.ppm"), kShotBytes);
}

TEST_F(Screenshot, AFolderThatCannotTakeFilesIsPassedOverAtOnce) {
  fs::path gone = folder / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  fs::remove(gone);  // nothing can be created in a removed working directory, even by root
  fillRect(0, 0, 319, 199, 9);
  EXPECT_EQ(save("hold F3 5\n"), "test screen00.ppm\n");
  EXPECT_EQ(headlessPollCount(), 0);
  EXPECT_EQ(getPixel(150, 3), 9);  // no progress box either
}

TEST_F(Screenshot, AReadOnlyFolderIsPassedOverAtOnce) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  save("");
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_FALSE(fs::exists("screen00.ppm"));
  EXPECT_EQ(headlessPollCount(), 0);
}

TEST_F(Screenshot, AFailedWriteIsIgnoredAndTheGameGoesOn) {
  makeFiles(99);
  fs::create_symlink("/dev/full", "screen99.ppm");  // every write fails: no space left
  EXPECT_EQ(save("hold F3 3\nwait 1\n"), testLines(100));
  EXPECT_EQ(headlessPollCount(), 4);
  EXPECT_EQ(getPixel(99, 0), 3);
}

}  // namespace
