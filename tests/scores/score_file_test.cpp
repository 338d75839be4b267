// The score file: its bytes, its check, damaged and hostile files, saves that
// fail, and the whole program loading and saving it in a temporary HOME.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>

#include "scores/score_file.h"
#include "scores/score_test_support.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

int recordStart(int row) {
  return 6 + 23 * row;
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
    path = folder + "/.kravix.sco";
    makeScoreFilePath(folder.c_str());
  }
  void TearDown() override { resetGameWideState(); }

  Bytes saved() {
    saveScoreFile();
    return readBytes(path);
  }

  std::string folder, path;
};

TEST_F(ScoreFile, TheDefaultTableIsStoredAsSpecifiedBytesAndReadsBack) {
  Bytes bytes = saved();
  ASSERT_EQ(bytes.size(), 492u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{1, 0, 1, 0, 0, 50}));
  // Row 0: L = 5, "TORVA" and its terminator scrambled with the bare mask, filler, 200.
  const uint8_t* row0 = &bytes[recordStart(0)];
  EXPECT_EQ(Bytes(row0, row0 + 7), (Bytes{5, 0xCF, 0xD4, 0xC9, 0xCD, 0xDA, 0x9B}));
  for (int j = 7; j < 21; ++j) {
    uint8_t filler = unscrambled(row0[j], 0);
    EXPECT_TRUE(filler >= 0x40 && filler <= 0x5D) << "position " << j - 1;
  }
  EXPECT_EQ(row0[21] * 256 + row0[22], 200);
  EXPECT_EQ(bytes[recordStart(20) + 6], 0x9B + 20) << "row 20 scrambles with 20 added";
  EXPECT_EQ(storedChecksum(bytes), expectedChecksum(bytes));

  fillCustomTable();
  setSettings({0, 0, 0, 0, 0, 0});
  loadScoreFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settingsValues(), kDefaultSettings);
}

TEST_F(ScoreFile, EveryTableAndSettingTheGameCanHoldReadsBack) {
  std::vector<Row> custom = fillCustomTable();
  std::strcpy(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
  custom[3].first = highScoreNames[3];
  highScoreNames[7][0] = '\0';
  custom[7].first = "";
  highScores[0] = 70000;  // only the low 16 bits are kept
  custom[0].second = 4464;
  Bytes bytes = saved();
  EXPECT_EQ(bytes[recordStart(3)], 20);
  for (int j = 0; j < 20; ++j) EXPECT_EQ(unscrambled(bytes[recordStart(3) + 1 + j], 3), 'A' + j);
  resetScoreTable();
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);

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

TEST_F(ScoreFile, TwoSavesOfOneTableDifferOnlyInFillerAndChecksum) {
  fillCustomTable();
  Bytes first = saved(), second = saved();
  int fillerChanges = 0;
  for (int k = 0; k < 489; ++k) {
    if (first[k] == second[k]) continue;
    int row = (k - 6) / 23, position = (k - 6) % 23 - 1;
    ASSERT_GE(k, 6) << "a Settings byte changed";
    ASSERT_GT(position, first[recordStart(row)]) << "byte " << k << " is not filler";
    ASSERT_LT(position, 20) << "byte " << k << " is a score byte";
    ++fillerChanges;
  }
  EXPECT_GT(fillerChanges, 0) << "the filler bytes are drawn afresh for every save";
}

TEST_F(ScoreFile, AnyChangedRecordByteFailsTheCheckButTheSettingsStay) {
  fillCustomTable();
  setSettings({0, 1, 0, 1, 1, 65});
  Bytes good = saved();
  for (int k = 6; k < 489; ++k) {
    Bytes bad = good;
    ++bad[k];
    fillCustomTable();
    setSettings(kDefaultSettings);
    decodeScoreFile(bad.data(), bad.size());
    ASSERT_EQ(tableRows(), defaultRows()) << "byte " << k;
    ASSERT_EQ(settingsValues(), (std::vector<int>{0, 1, 0, 1, 1, 65})) << "byte " << k;
  }
}

TEST_F(ScoreFile, TheCheckToleratesAChecksumUpToThirtyAboveThirtyOneTimesTheSum) {
  std::vector<Row> custom = fillCustomTable();
  Bytes bytes = saved();
  uint32_t exact = expectedChecksum(bytes);
  for (uint32_t checksum = exact - 1; checksum <= exact + 31; ++checksum) {
    storeChecksum(bytes, checksum);
    fillCustomTable();
    decodeScoreFile(bytes.data(), bytes.size());
    bool passes = checksum >= exact && checksum <= exact + 30;
    EXPECT_EQ(tableRows(), passes ? custom : defaultRows()) << "K = 31 * S + " << checksum - exact;
  }
}

TEST_F(ScoreFile, EmptyShortAndHugeFilesAreReadOnlyAsFarAsTheyAndTheTableGo) {
  std::vector<Row> custom = fillCustomTable();
  Bytes good = saved();
  const struct {
    size_t size;
    std::vector<Row> rows;
    std::vector<int> settings;
  } cases[] = {{0, defaultRows(), {1, 1, 1, 1, 1, 50}},  // 255 brought into range
               {100, defaultRows(), kDefaultSettings},
               {4 << 20, custom, kDefaultSettings}};
  for (const auto& c : cases) {
    Bytes bytes = good;
    bytes.resize(c.size, 0xA5);
    writeBytes(path, bytes);
    fillCustomTable();
    setSettings({0, 0, 0, 0, 0, 40});
    loadScoreFile();
    EXPECT_EQ(tableRows(), c.rows) << c.size << " bytes";
    EXPECT_EQ(settingsValues(), c.settings) << c.size << " bytes";
  }
  // Bytes past the end read as 255, the Settings too, before they are brought into range.
  decodeScoreFile(nullptr, 0);
  EXPECT_EQ(settingsValues(), std::vector<int>(6, 255));
}

TEST_F(ScoreFile, OutOfRangeSettingsAreBroughtIntoRange) {
  Bytes bytes = saved();
  const std::pair<Bytes, std::vector<int>> cases[] = {
      {{2, 255, 0, 1, 128, 29}, {1, 1, 0, 1, 1, 50}},
      {{0, 0, 0, 0, 0, 71}, {0, 0, 0, 0, 0, 50}},
      {{1, 1, 1, 1, 1, 30}, {1, 1, 1, 1, 1, 30}},
      {{0, 1, 0, 1, 0, 70}, {0, 1, 0, 1, 0, 70}}};
  for (const auto& [stored, loaded] : cases) {
    std::copy(stored.begin(), stored.end(), bytes.begin());
    writeBytes(path, bytes);
    loadScoreFile();
    EXPECT_EQ(settingsValues(), loaded);
  }
}

// Hostile files: the checksum is made to hold, so the records are taken as they are.
TEST_F(ScoreFile, ANameIsReadUpToItsLengthByteAndNeverPastItsField) {
  Bytes bytes = saved();
  for (int row = 0; row < kScoreRows; ++row) {
    bytes[recordStart(row)] = row == 0 ? 2 : 255;
    for (int j = 0; j < 20; ++j) bytes[recordStart(row) + 1 + j] = scrambled('Z', row);
  }
  storeChecksum(bytes, expectedChecksum(bytes));
  std::strcpy(highScoreNames[0], "ABCDEFGHIJKLMNOPQRST");
  decodeScoreFile(bytes.data(), bytes.size());
  EXPECT_STREQ(highScoreNames[0], "ZZZ") << "positions 0 to L, with no terminator among them";
  for (int row = 1; row < kScoreRows; ++row)
    EXPECT_STREQ(highScoreNames[row], std::string(20, 'Z').c_str());
}

TEST_F(ScoreFile, ADirectoryOrAFifoInItsPlaceIsLeftAloneByLoadAndSave) {
  std::vector<Row> custom = fillCustomTable();
  const std::function<void()> makers[] = {[&] { fs::create_directory(path); },
                                          [&] { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }};
  for (const auto& make : makers) {
    fs::remove(path);
    make();
    fs::file_type type = fs::status(path).type();
    loadScoreFile();  // a FIFO would block an ordinary open until a writer came
    EXPECT_EQ(tableRows(), custom);
    saveScoreFile();
    EXPECT_EQ(fs::status(path).type(), type);
    EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));
  }
}

TEST_F(ScoreFile, ASaveThatFailsKeepsTheOldFileAndLeavesNoTemporaryFile) {
  Bytes old = saved();
  fillCustomTable();
  // A file size limit makes the write fail part way, even for root.
  rlimit normal{};
  getrlimit(RLIMIT_FSIZE, &normal);
  rlimit small = normal;
  small.rlim_cur = 100;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  saveScoreFile();
  setrlimit(RLIMIT_FSIZE, &normal);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(readBytes(path), old);
  EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{".kravix.sco"}));

  // A folder that cannot be written: permissions do not stop root, so the save
  // runs in a child without root's rights.
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    saveScoreFile();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  fs::permissions(folder, fs::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(readBytes(path), old);
}

TEST_F(ScoreFile, ASaveKeepsALinkALinkAndTheOldFilesPermissions) {
  std::string target = makeTempFolder("linked-target"), elsewhere = target + "/scores.bin";
  writeBytes(elsewhere, {1, 2, 3});
  ASSERT_EQ(chmod(elsewhere.c_str(), 0600), 0);
  fs::create_symlink(elsewhere, path);
  saveScoreFile();
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(readBytes(elsewhere).size(), 492u);
  EXPECT_EQ(fs::status(elsewhere).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(folderEntries(target), (std::vector<std::string>{"scores.bin"}));
}

// The whole program: what it finds in HOME at start-up, and what it leaves there.
TEST_F(ScoreFile, TheProgramLoadsTheFileAtStartUpAndSavesItOnTheWayOut) {
  std::vector<Row> custom = fillCustomTable();
  setSettings({0, 1, 0, 1, 1, 33});
  Bytes good = saved(), damaged = good;
  damaged[100] ^= 0x10;
  damaged[4] = 7;  // out of range: read as 1
  const struct {
    const Bytes* file;  // none: a fresh HOME
    const char* script;
    std::vector<Row> rows;
    std::vector<int> settings;
  } cases[] = {{nullptr, "", defaultRows(), kDefaultSettings},  // F12 at once
               {&good, "wait 5\nhold ESC 3\nwait 5\n", custom, {0, 1, 0, 1, 1, 33}},
               {&damaged, "wait 5\nhold ESC 3\nwait 5\n", defaultRows(), {0, 1, 0, 1, 1, 33}}};
  for (const auto& c : cases) {
    fs::remove(path);
    if (c.file) writeBytes(path, *c.file);
    ASSERT_EQ(runHeadless(c.script, folder).status, 0);
    Bytes left = readBytes(path);
    ASSERT_EQ(left.size(), 492u);
    EXPECT_EQ(storedChecksum(left), expectedChecksum(left));
    decodeScoreFile(left.data(), left.size());
    EXPECT_EQ(tableRows(), c.rows);
    EXPECT_EQ(settingsValues(), c.settings);
  }
  EXPECT_EQ(folderEntries(folder),
            (std::vector<std::string>{".kravix.sco", "run.script", "stdout.txt"}));

  // A HOME too long for the path: nothing is read or written, and the game runs.
  std::string longHome = makeTempFolder(std::string(150, 'h') + "/" + std::string(150, 'o'));
  EXPECT_EQ(runHeadless("wait 5\nhold ESC 3\nwait 5\n", longHome).status, 0);
  EXPECT_FALSE(fs::exists(longHome + "/.kravix.sco"));
}

}  // namespace
