// The screenshot writer, run in a folder of its own as the working directory.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless.h"
#include "screens/screen_checks.h"
#include "video/palette.h"
#include "video/screenshot.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kShotBytes = 15 + 320 * 200 * 3 + 1;

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

class Screenshot : public ::testing::Test {
 protected:
  void SetUp() override {
    resetScreenState();
    fs::current_path(
        makeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    controls.screenshot = 1;  // the level loop calls it on F3
  }
  void TearDown() override { fs::current_path(home); }

  // Saves with the given keys; returns what went to standard output.
  std::string save(const std::string& script) {
    useScript(script);
    ::testing::internal::CaptureStdout();
    saveScreenshot();
    return ::testing::internal::GetCapturedStdout();
  }

  fs::path home = fs::current_path();
};

TEST_F(Screenshot, EachShotTakesTheFirstFreeNameAndScreen99WhenAllAreTaken) {
  for (auto [present, written] : {std::pair{0, 0}, {5, 5}, {100, 99}}) {
    for (const auto& entry : fs::directory_iterator(".")) fs::remove(entry.path());
    for (int n = 0; n < present; ++n) std::ofstream(shotName(n)) << "x";
    EXPECT_EQ(save(""), testLines(written + 1));
    EXPECT_EQ(fs::file_size(shotName(written)), kShotBytes);
    EXPECT_TRUE(written == 0 || fs::file_size(shotName(written - 1)) == 1);
    EXPECT_FALSE(fs::exists("screen100.ppm"));
  }
}

TEST_F(Screenshot, PixelsAreTheDefaultPaletteTimesFourAfterTheHeaderWithOneTrailingByte) {
  for (int i = 0; i < kFrameBytes; ++i)
    frameBuffer.pixels[i] = static_cast<uint8_t>(i * 7 + i / 320);
  putPixel(0, 0, 15);
  putPixel(1, 0, 6);
  FrameBuffer drawn = frameBuffer;
  save("");
  std::ifstream in("screen00.ppm", std::ios::binary);
  std::vector<unsigned char> file(std::istreambuf_iterator<char>(in), {});
  ASSERT_EQ(file.size(), kShotBytes);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 15), "P6\n320 200\n255\n");
  EXPECT_EQ(std::vector<unsigned char>(file.begin() + 15, file.begin() + 21),
            (std::vector<unsigned char>{252, 252, 252, 168, 84, 0}));
  // Every pixel as the frame was drawn: the progress box over rows 0-6 is never saved.
  for (int i = 0; i < kFrameBytes * 3; ++i)
    ASSERT_EQ(file[15 + i], defaultPalette.rgb[drawn.pixels[i / 3]][i % 3] * 4) << i / 3;
  EXPECT_EQ(file.back(), 255);
}

TEST_F(Screenshot, HoldingF3WritesOneFileAndReturnsWhenItIsReleased) {
  save("hold F3 20\nwait 5\n");
  EXPECT_EQ(headlessPollCount(), 21);
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 1);
}

TEST_F(Screenshot, AFolderThatTakesNoFilesOrAFailedWriteNeverStopsTheGame) {
  for (int n = 0; n < 99; ++n) std::ofstream(shotName(n)) << "x";
  fs::create_symlink("/dev/full", "screen99.ppm");  // every write fails: no space left
  EXPECT_EQ(save("hold F3 3\nwait 1\n"), testLines(100));
  EXPECT_EQ(headlessPollCount(), 4);

  fs::path gone = fs::current_path() / "gone";
  fs::create_directory(gone);
  fs::current_path(gone);
  fs::remove(gone);  // nothing can be created in a removed working directory, even by root
  startHeadlessVideo();
  fillRect(0, 0, 319, 199, 9);
  EXPECT_EQ(save("hold F3 5\n"), "test screen00.ppm\n");
  EXPECT_EQ(headlessPollCount(), 0) << "passed over at once";
  EXPECT_EQ(getPixel(150, 3), 9) << "no progress box either";
}

}  // namespace
