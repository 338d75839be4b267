#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "app/main_cycle.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "scores/score_test_support.h"
#include "screens/settings.h"
#include "support/test_support.h"

namespace {

constexpr int kRecord = 23;
int recordStart(int row) {
  return 6 + kRecord * row;
}
uint8_t scrambled(uint8_t plain, int row) {
  return static_cast<uint8_t>((plain ^ 0x9B) + row);
}
uint8_t unscrambled(uint8_t stored, int row) {
  return static_cast<uint8_t>(stored - row) ^ 0x9B;
}

class ScoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameWideState();
    folder = makeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    path = useScoreFileIn(folder);
  }
  void TearDown() override { resetGameWideState(); }

  // A table unlike the defaults, so that a load that keeps it is visible.
  void fillCustomTable() {
    for (int row = 0; row < kScoreRows; ++row) {
      std::snprintf(highScoreNames[row], kNameField, "P%d", row);
      highScores[row] = 5000u - 100u * row;
    }
  }

  Bytes savedBytes() {
    saveScoreFile();
    return readBytes(path);
  }

  std::string folder;
  std::string path;
};

TEST_F(ScoreFile, TheDefaultTableIsStoredAsSpecifiedBytesAndReadsBack) {
  Bytes bytes = savedBytes();
  ASSERT_EQ(bytes.size(), 492u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{1, 0, 1, 0, 0, 50}));

  // Row 0: L = 5, "TORVA" and its terminator scrambled with the bare mask.
  const uint8_t* row0 = &bytes[recordStart(0)];
  EXPECT_EQ(Bytes(row0, row0 + 7), (Bytes{5, 0xCF, 0xD4, 0xC9, 0xCD, 0xDA, 0x9B}));
  for (int j = 6; j < 20; ++j) {
    uint8_t filler = unscrambled(row0[1 + j], 0);
    EXPECT_GE(filler, 0x40);
    EXPECT_LE(filler, 0x5D);
  }
  EXPECT_EQ(row0[21], 0x00);
  EXPECT_EQ(row0[22], 0xC8);

  // Row 20 scrambles with 20 added: its terminator is 0x9B + 20, its score 0.
  const uint8_t* row20 = &bytes[recordStart(20)];
  EXPECT_EQ(row20[6], 0x9B + 20);
  EXPECT_EQ(row20[21], 0);
  EXPECT_EQ(row20[22], 0);
  EXPECT_EQ(storedChecksum(bytes), expectedChecksum(bytes));

  fillCustomTable();
  setSettings({0, 0, 0, 0, 0, 0});
  loadScoreFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), (std::vector<int>{1, 0, 1, 0, 0, 50}));
}

TEST_F(ScoreFile, ATableAndSettingsSurviveASaveAndLoad) {
  fillCustomTable();
  std::strcpy(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
  highScoreNames[7][0] = '\0';
  setSettings({0, 1, 0, 1, 1, 61});
  std::vector<Row> saved = tableRows();
  saveScoreFile();
  resetGameWideState();
  useScoreFileIn(folder);
  loadScoreFile();
  EXPECT_EQ(tableRows(), saved);
  EXPECT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 61}));
}

TEST_F(ScoreFile, ATwentyCharacterNameIsStoredWithoutTerminatorAndReadsBackWhole) {
  std::strcpy(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
  Bytes bytes = savedBytes();
  const uint8_t* record = &bytes[recordStart(3)];
  EXPECT_EQ(record[0], 20);
  for (int j = 0; j < 20; ++j) EXPECT_EQ(unscrambled(record[1 + j], 3), 'A' + j);
  resetScoreTable();
  loadScoreFile();
  EXPECT_STREQ(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(ScoreFile, AScoreKeepsOnlyItsLowSixteenBits) {
  highScores[0] = 70000;
  saveScoreFile();
  loadScoreFile();
  EXPECT_EQ(highScores[0], 4464u);
}

TEST_F(ScoreFile, AnyChangedRecordByteFailsTheCheckButTheSettingsStay) {
  fillCustomTable();
  setSettings({0, 1, 0, 1, 1, 65});
  Bytes good = savedBytes();
  for (int k = 6; k < 489; ++k) {
    Bytes bad = good;
    bad[k] = static_cast<uint8_t>(bad[k] + 1);
    fillCustomTable();
    setSettings({1, 0, 1, 0, 0, 50});
    decodeScoreFile(bad.data(), bad.size());
    ASSERT_EQ(tableRows(), defaultRows()) << "byte " << k;
    ASSERT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 65})) << "byte " << k;
  }

  // The same through the file.
  Bytes bad = good;
  bad[recordStart(4) + 22] ^= 1;
  writeBytes(path, bad);
  fillCustomTable();
  setSettings({1, 0, 1, 0, 0, 50});
  loadScoreFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 65}));
}

TEST_F(ScoreFile, TheCheckToleratesAChecksumUpToThirtyAboveThirtyOneTimesTheSum) {
  fillCustomTable();
  std::vector<Row> custom = tableRows();
  Bytes bytes = savedBytes();
  uint32_t exact = expectedChecksum(bytes);
  for (uint32_t checksum = exact - 1; checksum <= exact + 31; ++checksum) {
    storeChecksum(bytes, checksum);
    fillCustomTable();
    decodeScoreFile(bytes.data(), bytes.size());
    bool passes = checksum >= exact && checksum <= exact + 30;
    EXPECT_EQ(tableRows(), passes ? custom : defaultRows())
        << "K = 31 * S + " << int(checksum - exact);
  }
}

TEST_F(ScoreFile, AnEmptyFileReadsAsSettingsOf255ThenBroughtIntoRange) {
  // As read: every byte past the end is 255, so the six Settings are 255 and the check fails.
  fillCustomTable();
  decodeScoreFile(nullptr, 0);
  EXPECT_EQ(settingsValues(), (std::vector<int>(6, 255)));
  EXPECT_EQ(tableRows(), defaultRows());

  // As loaded: the flags become 1 and the turn speed its default.
  writeBytes(path, {});
  fillCustomTable();
  setSettings({0, 0, 0, 0, 0, 40});
  loadScoreFile();
  EXPECT_EQ(settingsValues(), (std::vector<int>{1, 1, 1, 1, 1, 50}));
  EXPECT_EQ(tableRows(), defaultRows());
}

TEST_F(ScoreFile, TwoSavesOfOneTableDifferOnlyInFillerAndChecksum) {
  fillCustomTable();
  Bytes first = savedBytes();
  Bytes second = savedBytes();
  ASSERT_EQ(first.size(), second.size());
  int fillerChanges = 0;
  for (int k = 0; k < 489; ++k) {
    if (first[k] == second[k]) continue;
    int row = (k - 6) / kRecord;
    int position = (k - 6) % kRecord - 1;
    ASSERT_GE(k, 6) << "a Settings byte changed";
    ASSERT_GT(position, first[recordStart(row)]) << "byte " << k << " is not filler";
    ASSERT_LT(position, 20) << "byte " << k << " is a score byte";
    ++fillerChanges;
  }
  EXPECT_GT(fillerChanges, 0) << "the filler bytes are drawn afresh for every save";
}

TEST_F(ScoreFile, OutOfRangeSettingsAreBroughtIntoRange) {
  Bytes bytes = savedBytes();
  const std::vector<std::pair<Bytes, std::vector<int>>> cases = {
      {{2, 255, 0, 1, 128, 29}, {1, 1, 0, 1, 1, 50}},
      {{0, 0, 0, 0, 0, 71}, {0, 0, 0, 0, 0, 50}},
      {{1, 1, 1, 1, 1, 30}, {1, 1, 1, 1, 1, 30}},
      {{0, 1, 0, 1, 0, 70}, {0, 1, 0, 1, 0, 70}},
  };
  for (const auto& [stored, loaded] : cases) {
    std::copy(stored.begin(), stored.end(), bytes.begin());
    writeBytes(path, bytes);
    loadScoreFile();
    EXPECT_EQ(settingsValues(), loaded);
  }
}

TEST_F(ScoreFile, EverySettingTheGameCanHoldReadsBackUnchanged) {
  for (int turnSpeed = 30; turnSpeed <= 70; ++turnSpeed) {
    for (int flags = 0; flags < 32; ++flags) {
      std::vector<int> values = {flags & 1,      flags >> 1 & 1, flags >> 2 & 1,
                                 flags >> 3 & 1, flags >> 4 & 1, turnSpeed};
      setSettings(values);
      uint8_t image[kScoreFileBytes];
      encodeScoreFile(image);
      setSettings({9, 9, 9, 9, 9, 9});
      decodeScoreFile(image, sizeof image);
      bringSettingsIntoRange();
      ASSERT_EQ(settingsValues(), values);
    }
  }
}

// A hostile file: its checksum is made to hold, so the records are taken as they are.
TEST_F(ScoreFile, ALengthByteAbove20NeverLetsANameRunPastItsField) {
  Bytes bytes = savedBytes();
  for (int row = 0; row < kScoreRows; ++row) {
    bytes[recordStart(row)] = 255;
    for (int j = 0; j < 20; ++j) bytes[recordStart(row) + 1 + j] = scrambled('Z', row);
  }
  storeChecksum(bytes, expectedChecksum(bytes));
  decodeScoreFile(bytes.data(), bytes.size());
  for (int row = 0; row < kScoreRows; ++row) {
    EXPECT_EQ(std::string(highScoreNames[row]), std::string(20, 'Z'));
    EXPECT_EQ(highScoreNames[row][20], '\0');
  }
}

TEST_F(ScoreFile, ANameIsReadOnlyUpToItsLengthByte) {
  // L = 2 but no terminator at position 2: the name takes positions 0..2 and no more,
  // whatever the table held before.
  Bytes bytes = savedBytes();
  uint8_t* record = &bytes[recordStart(0)];
  record[0] = 2;
  for (int j = 0; j < 20; ++j) record[1 + j] = scrambled('Q', 0);
  storeChecksum(bytes, expectedChecksum(bytes));
  std::strcpy(highScoreNames[0], "ABCDEFGHIJKLMNOPQRST");
  decodeScoreFile(bytes.data(), bytes.size());
  EXPECT_STREQ(highScoreNames[0], "QQQ");
}

TEST_F(ScoreFile, AShortFileGivesTheDefaultTableAndItsOwnSettings) {
  Bytes bytes = savedBytes();
  bytes[0] = 0;
  bytes.resize(100);
  writeBytes(path, bytes);
  fillCustomTable();
  loadScoreFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), (std::vector<int>{0, 0, 1, 0, 0, 50}));
}

TEST_F(ScoreFile, AHugeFileIsReadOnlyAsFarAsTheTableGoes) {
  fillCustomTable();
  std::vector<Row> custom = tableRows();
  Bytes bytes = savedBytes();
  bytes.resize(4 << 20, 0xA5);
  writeBytes(path, bytes);
  resetScoreTable();
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);
}

TEST_F(ScoreFile, SomethingOtherThanAFileInItsPlaceIsLeftAloneByLoadAndSave) {
  std::filesystem::create_directory(path);
  fillCustomTable();
  std::vector<Row> custom = tableRows();
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);
  EXPECT_EQ(settingsValues(), (std::vector<int>{1, 0, 1, 0, 0, 50}));
  saveScoreFile();
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));

  // A FIFO would block an ordinary open until a writer came.
  std::filesystem::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);
  saveScoreFile();
  EXPECT_TRUE(std::filesystem::is_fifo(path));
}

TEST_F(ScoreFile, NoPathMeansNothingIsReadOrWritten) {
  scoreFilePath[0] = '\0';
  fillCustomTable();
  std::vector<Row> custom = tableRows();
  saveScoreFile();
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);
  EXPECT_TRUE(folderEntries(folder).empty());
}

class ScoreFileSaving : public ScoreFile {};

TEST_F(ScoreFileSaving, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  Bytes old = savedBytes();
  fillCustomTable();
  // A file size limit makes the write fail part way, even for root.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  saveScoreFile();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(readBytes(path), old);
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));
}

TEST_F(ScoreFileSaving, AFolderThatCannotBeWrittenKeepsTheOldFile) {
  Bytes old = savedBytes();
  fillCustomTable();
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec |
                  std::filesystem::perms::others_read | std::filesystem::perms::others_exec);
  // Permissions do not stop root, so the save runs in a child without root's rights.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    saveScoreFile();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(readBytes(path), old);
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));
}

TEST_F(ScoreFileSaving, AMissingFolderMeansNothingIsSaved) {
  useScoreFileIn(folder + "/missing");
  saveScoreFile();
  EXPECT_TRUE(folderEntries(folder).empty());
}

TEST_F(ScoreFileSaving, ALinkedScoreFileStaysALinkAndItsTargetIsReplaced) {
  std::string elsewhere = makeTempFolder("linked-target") + "/scores.bin";
  writeBytes(elsewhere, {1, 2, 3});
  std::filesystem::create_symlink(elsewhere, path);
  fillCustomTable();
  saveScoreFile();
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(readBytes(elsewhere).size(), 492u);
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));
}

TEST_F(ScoreFileSaving, TheOldFilesPermissionsAreKept) {
  saveScoreFile();
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  saveScoreFile();
  struct stat file {};
  ASSERT_EQ(stat(path.c_str(), &file), 0);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
}

}  // namespace
