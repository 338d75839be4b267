// The whole program on the headless backend with a temporary HOME: the score
// file it finds at start-up and the one it leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "scores/score_file.h"
#include "scores/score_table.h"
#include "scores/score_test_support.h"
#include "support/test_support.h"

namespace {

constexpr char kQuitFromTitle[] = "wait 5\nhold ESC 3\nwait 5\n";

class ScoreFileEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameWideState();
    folder = makeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    path = folder + "/.kravix.sco";
  }
  void TearDown() override { resetGameWideState(); }

  // Writes a table unlike the defaults with these settings to the HOME folder.
  Bytes writeCustomFile(const std::vector<int>& settingValues) {
    for (int row = 0; row < kScoreRows; ++row) {
      std::snprintf(highScoreNames[row], kNameField, "PILOT %d", row);
      highScores[row] = 900u - 40u * row;
    }
    setSettings(settingValues);
    custom = tableRows();
    useScoreFileIn(folder);
    saveScoreFile();
    resetGameWideState();
    return readBytes(path);
  }

  // Decodes the file the program left; fails unless it is whole and its checksum exact.
  void decodeLeftFile() {
    Bytes bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 492u);
    ASSERT_EQ(storedChecksum(bytes), expectedChecksum(bytes));
    decodeScoreFile(bytes.data(), bytes.size());
  }

  std::string folder;
  std::string path;
  std::vector<Row> custom;
};

TEST_F(ScoreFileEndToEnd, QuittingFromTheFirstTitleWritesTheDefaults) {
  RunResult run = runHeadless(kQuitFromTitle, folder);
  EXPECT_EQ(run.status, 0);
  decodeLeftFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), (std::vector<int>{1, 0, 1, 0, 0, 50}));
}

TEST_F(ScoreFileEndToEnd, F12AtOnceStillWritesTheFile) {
  RunResult run = runHeadless("", folder);
  EXPECT_EQ(run.status, 0);
  decodeLeftFile();
  EXPECT_EQ(tableRows(), defaultRows());
}

TEST_F(ScoreFileEndToEnd, TheTableAndSettingsSurviveARestart) {
  Bytes before = writeCustomFile({0, 1, 0, 1, 1, 64});
  RunResult run = runHeadless(kQuitFromTitle, folder);
  EXPECT_EQ(run.status, 0);
  decodeLeftFile();
  EXPECT_EQ(tableRows(), custom);
  EXPECT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 64}));
  EXPECT_EQ(folderEntries(folder),
            (std::vector<std::string>{".kravix.sco", "run.script", "stdout.txt"}));
}

TEST_F(ScoreFileEndToEnd, ADamagedFileGivesTheDefaultTableAndKeepsItsSettings) {
  Bytes bytes = writeCustomFile({0, 1, 0, 1, 1, 33});
  bytes[100] ^= 0x10;
  bytes[4] = 7;  // out of range: read as 1
  writeBytes(path, bytes);
  RunResult run = runHeadless(kQuitFromTitle, folder);
  EXPECT_EQ(run.status, 0);
  decodeLeftFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 33}));
}

TEST_F(ScoreFileEndToEnd, AHomeTooLongForThePathMeansNoFileAndTheGameRuns) {
  std::string longFolder = makeTempFolder(std::string(150, 'h') + "/" + std::string(150, 'o'));
  RunResult run = runHeadless(kQuitFromTitle, longFolder);
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(std::filesystem::exists(longFolder + "/.kravix.sco"));
}

}  // namespace
