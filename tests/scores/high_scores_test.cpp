// The high score table: its file (bytes, check, damaged and hostile files,
// failed saves, the whole program loading and saving it in a temporary HOME),
// the name entry and the table screen.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/game.h"
#include "app/game_state.h"
#include "app/main_cycle.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "scores/high_score_screens.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "screens/settings.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

static bool operator==(const Settings& a, const Settings& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

namespace {

using Bytes = std::vector<uint8_t>;

using Row = std::pair<std::string, uint32_t>;
const Settings kDefaultSettings = {1, 0, 1, 0, 0, 50};

// Settings at their start-up defaults, the default table, nothing held, score 0, no file.
void resetGameWideState() {
  settings = kDefaultSettings;
  resetScoreTable();
  controls = {};
  gameState = {};
  scoreFilePath[0] = '\0';
}

std::vector<Row> tableRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row)
    rows.emplace_back(highScoreNames[row], highScores[row]);
  return rows;
}
// Every name TORVA; row i scores (20 - i) * 10.
std::vector<Row> defaultRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row) rows.emplace_back("TORVA", (20 - row) * 10);
  return rows;
}

int recordStart(int row) {
  return 6 + 23 * row;
}
uint8_t unscrambled(uint8_t stored, int row) {
  return static_cast<uint8_t>(stored - row) ^ 0x9B;
}

// The file's record bytes summed and times 31, and the checksum the file holds.
uint32_t expectedChecksum(const Bytes& bytes) {
  uint32_t sum = 0;
  for (size_t k = 6; k < 489; ++k) sum += bytes.at(k);
  return 31 * sum;
}
uint32_t storedChecksum(const Bytes& bytes) {
  return bytes.at(489) * 65536u + bytes.at(490) * 256u + bytes.at(491);
}
void storeChecksum(Bytes& bytes, uint32_t checksum) {
  for (int i = 0; i < 3; ++i) bytes.at(489 + i) = static_cast<uint8_t>(checksum >> (16 - 8 * i));
}

// A table unlike the defaults, so that a load that keeps it is visible.
std::vector<Row> fillCustomTable() {
  for (int row = 0; row < kScoreRows; ++row) {
    std::snprintf(highScoreNames[row], kNameField, "PILOT %d", row);
    highScores[row] = 5000u - 100u * row;
  }
  return tableRows();
}

class ScoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGameWideState();
    makeScoreFilePath(folder.c_str());
  }
  void TearDown() override { resetGameWideState(); }

  Bytes saved() {
    saveScoreFile();
    return read(path);
  }
  static Bytes read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }
  static void write(const std::string& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  static long entries(const std::string& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  }

  std::string folder =
      makeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string path = folder + "/.kravix.sco";
};

TEST_F(ScoreFile, TheDefaultTableIsStoredByteForByteAndReadsBack) {
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
  settings = {0, 0, 0, 0, 0, 0};
  loadScoreFile();
  EXPECT_EQ(tableRows(), defaultRows());
  EXPECT_EQ(settings, kDefaultSettings);
}

TEST_F(ScoreFile, ATwentyCharacterNameIsStoredWithoutTerminatorAndAScoreInSixteenBits) {
  std::vector<Row> custom = fillCustomTable();
  std::strcpy(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
  custom[3].first = highScoreNames[3];
  highScores[0] = 70000;
  custom[0].second = 4464;
  Bytes bytes = saved();
  EXPECT_EQ(bytes[recordStart(3)], 20);
  for (int j = 0; j < 20; ++j) EXPECT_EQ(unscrambled(bytes[recordStart(3) + 1 + j], 3), 'A' + j);
  resetScoreTable();
  loadScoreFile();
  EXPECT_EQ(tableRows(), custom);
}

TEST_F(ScoreFile, TwoSavesOfOneTableDifferOnlyInFillerAndChecksum) {
  fillCustomTable();
  Bytes first = saved(), second = saved();
  int fillerChanges = 0;
  for (int k = 6; k < 489; ++k) {
    int row = (k - 6) / 23, position = (k - 6) % 23 - 1;  // -1: the length byte; 20, 21: score
    bool filler = position > first[recordStart(row)] && position < 20;
    ASSERT_TRUE(first[k] == second[k] || filler) << "byte " << k;
    fillerChanges += first[k] != second[k];
  }
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 6), Bytes(second.begin(), second.begin() + 6));
  EXPECT_GT(fillerChanges, 0) << "the filler bytes are drawn afresh for every save";
}

TEST_F(ScoreFile, AnyChangedRecordByteFailsTheCheckButTheSettingsStay) {
  fillCustomTable();
  settings = {0, 1, 0, 1, 1, 65};
  Bytes good = saved();
  for (int k = 6; k < 489; ++k) {
    Bytes bad = good;
    ++bad[k];
    fillCustomTable();
    settings = kDefaultSettings;
    decodeScoreFile(bad.data(), bad.size());
    ASSERT_EQ(tableRows(), defaultRows()) << "byte " << k;
    ASSERT_EQ(settings, (Settings{0, 1, 0, 1, 1, 65})) << "byte " << k;
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
    Settings settings;
  } cases[] = {{0, defaultRows(), {1, 1, 1, 1, 1, 50}},  // bytes past the end read as 255
               {100, defaultRows(), kDefaultSettings},
               {4 << 20, custom, kDefaultSettings}};
  for (const auto& c : cases) {
    Bytes bytes = good;
    bytes.resize(c.size, 0xA5);
    write(path, bytes);
    fillCustomTable();
    settings = {0, 0, 0, 0, 0, 40};
    loadScoreFile();
    EXPECT_EQ(tableRows(), c.rows) << c.size << " bytes";
    EXPECT_EQ(settings, c.settings) << c.size << " bytes";
  }
  fs::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  settings = {0, 0, 0, 0, 0, 40};
  loadScoreFile();  // a FIFO in its place would block an ordinary open for good
  EXPECT_EQ(settings, (Settings{0, 0, 0, 0, 0, 40}));
}

TEST_F(ScoreFile, OutOfRangeSettingsAreBroughtIntoRangeAndInRangeOnesKept) {
  Bytes bytes = saved();
  const std::pair<Bytes, Settings> cases[] = {{{2, 255, 0, 1, 128, 29}, {1, 1, 0, 1, 1, 50}},
                                              {{0, 0, 0, 0, 0, 71}, {0, 0, 0, 0, 0, 50}},
                                              {{1, 1, 1, 1, 1, 30}, {1, 1, 1, 1, 1, 30}},
                                              {{0, 1, 0, 1, 0, 70}, {0, 1, 0, 1, 0, 70}}};
  for (const auto& [stored, loaded] : cases) {
    std::copy(stored.begin(), stored.end(), bytes.begin());
    write(path, bytes);
    loadScoreFile();
    EXPECT_EQ(settings, loaded);
  }
}

// A hostile file: the checksum is made to hold, so the records are taken as they are.
TEST_F(ScoreFile, ANameIsReadUpToItsLengthByteAndNeverPastItsField) {
  Bytes bytes = saved();
  for (int row = 0; row < kScoreRows; ++row) {
    bytes[recordStart(row)] = row == 0 ? 2 : 255;
    for (int j = 0; j < 20; ++j) bytes[recordStart(row) + 1 + j] = ('Z' ^ 0x9B) + row;
  }
  storeChecksum(bytes, expectedChecksum(bytes));
  std::strcpy(highScoreNames[0], "ABCDEFGHIJKLMNOPQRST");
  decodeScoreFile(bytes.data(), bytes.size());
  EXPECT_STREQ(highScoreNames[0], "ZZZ") << "positions 0 to L, with no terminator among them";
  for (int row = 1; row < kScoreRows; ++row) EXPECT_EQ(highScoreNames[row], std::string(20, 'Z'));
}

TEST_F(ScoreFile, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
  Bytes old = saved();
  fillCustomTable();
  // A file size limit makes the write fail part way, even for root.
  rlimit normal{}, small{100, RLIM_INFINITY};
  getrlimit(RLIMIT_FSIZE, &normal);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  saveScoreFile();
  setrlimit(RLIMIT_FSIZE, &normal);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(read(path), old);
  EXPECT_EQ(entries(folder), 1) << "no temporary file is left";
}

// The whole program: what it finds in HOME at start-up, and what it leaves there.
TEST_F(ScoreFile, TheProgramLoadsTheFileAtStartUpAndSavesItOnTheWayOut) {
  std::vector<Row> custom = fillCustomTable();
  settings = {0, 1, 0, 1, 1, 33};
  Bytes good = saved();
  const char* quitFromTitle = "wait 5\nhold ESC 3\nwait 5\n";
  const struct {
    const Bytes* file;  // none: a fresh HOME
    const char* script;
    std::vector<Row> rows;
    Settings settings;
  } cases[] = {{nullptr, "", defaultRows(), kDefaultSettings},  // F12 at once
               {&good, quitFromTitle, custom, {0, 1, 0, 1, 1, 33}}};
  for (const auto& c : cases) {
    fs::remove(path);
    if (c.file) write(path, *c.file);
    ASSERT_EQ(runHeadless(c.script, folder).status, 0);
    Bytes left = read(path);
    ASSERT_EQ(left.size(), 492u);
    EXPECT_EQ(storedChecksum(left), expectedChecksum(left));
    decodeScoreFile(left.data(), left.size());
    EXPECT_EQ(tableRows(), c.rows);
    EXPECT_EQ(settings, c.settings);
  }
  EXPECT_EQ(entries(folder), 3) << "the file, the script and its output";

  // A HOME too long for the path: nothing is read or written, and the game runs.
  std::string longHome = makeTempFolder(std::string(150, 'h') + "/" + std::string(150, 'o'));
  EXPECT_EQ(runHeadless(quitFromTitle, longHome).status, 0);
  EXPECT_FALSE(fs::exists(longHome + "/.kravix.sco"));
}

// The screens, driven by scripted keys.

class HighScoreScreens : public ::testing::Test {
 protected:
  void SetUp() override { resetGameWideState(); }
  void TearDown() override { resetGameWideState(); }

  // Runs the screen on a fresh keyboard; Escape or F12 may be held on arrival.
  void run(void (*screen)(), const std::string& script, const char* heldOnArrival = "") {
    startHeadlessVideo();
    controls = {};
    controls.escape = std::string(heldOnArrival) == "ESC";
    controls.quickExit = std::string(heldOnArrival) == "F12";
    useScript(script);
    screen();
  }
};

constexpr int kToTheEnd = -1, kUnchecked = -2;  // kToTheEnd: to the script's end, then F12

TEST_F(HighScoreScreens, TheNameEntryTypesEndsAndEntersAsTheKeysSay) {
  std::string twentyOne = "hold A 1\n";
  for (int i = 0; i < 10; ++i) twentyOne += "hold S 1\nhold A 1\n";
  const struct {
    const char* what;
    const char* heldOnArrival;
    std::string script;
    std::string name;  // "" enters nothing: row 20 keeps TORVA
    int polls = kUnchecked;
  } cases[] = {
      {"F12 on arrival", "F12", "hold A 1\nhold B 1\n", "", 0},
      {"Enter at pass 501", "", "hold A 1\nhold B 1\nwait 498\nhold ENTER 1\nwait 5\n", "AB",
       kToTheEnd},
      {"Enter at pass 502, one poll to release", "",
       "hold A 1\nhold B 1\nwait 499\nhold ENTER 1\nwait 5\n", "AB", 503},
      {"a held Escape, then a new one after two characters", "ESC",
       "hold ESC 3\nhold A 1\nhold B 1\nhold ESC 1\nwait 5\n", "AB", 7},
      {"Escape after one character", "", "hold A 1\nhold ESC 1\nwait 5\n", "A", kToTheEnd},
      {"Escape at pass 499", "", "wait 498\nhold ESC 1\nwait 5\n", "", kToTheEnd},
      {"Escape at pass 500, empty name", "", "wait 499\nhold ESC 1\nwait 5\n", "", 501},
      {"21st character", "", twentyOne + "hold ESC 1\n", "ASASASASASASASASASAS"},
      {"Backspace makes room", "", twentyOne + "hold BACKSPACE 1\nhold D 1\nhold ESC 1\n",
       "ASASASASASASASASASAD"},
      {"Backspace on empty", "",
       "hold BACKSPACE 1\nhold A 1\nhold B 1\nhold BACKSPACE 1\nhold C 1\nhold ESC 1\n", "AC"},
      {"Tab, left Ctrl and left Shift type a space, right Shift nothing", "",
       "hold A 1\nhold TAB 1\nhold B 1\nhold LCTRL 1\nhold C 1\nhold LSHIFT 1\nhold RSHIFT 1\n"
       "hold D 1\nhold ESC 1\n",
       "A B C D"},
      {"left Shift (42) held: A and Q below it type nothing, M (50) above it does", "",
       "hold LSHIFT 2\nhold LSHIFT A 1\nhold LSHIFT Q 1\nhold LSHIFT M 1\nhold ESC 1\n", " M"},
      {"a held key types once; letting the higher go types the lower again", "",
       "hold A 3\nhold A M 2\nhold A 1\nhold ESC 1\n", "AMA"},
      {"Y and Z change places on the German layout", "", "hold Y 1\nhold Z 1\nhold ESC 1\n", "ZY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetGameWideState();
    run([] { gameState.score = 500, enterHighScoreName(); }, c.script, c.heldOnArrival);
    EXPECT_EQ(highScoreNames[20], c.name.empty() ? "TORVA" : c.name);
    EXPECT_EQ(highScores[20], c.name.empty() ? 0u : 500u);
    EXPECT_TRUE(c.polls < 0 || headlessPollCount() == c.polls) << headlessPollCount() << " polls";
    EXPECT_TRUE(c.polls != kToTheEnd || headlessScriptDone());
  }
}

TEST_F(HighScoreScreens, TheTableEndsOnEnterSpaceANewEscapeOrF12) {
  const struct {
    const char* heldOnArrival;
    const char* script;
    int polls;
  } cases[] = {{"", "wait 2\nhold ENTER 1\nwait 3\n", 3},
               {"", "wait 2\nhold SPACE 1\nwait 3\n", 3},
               {"ESC", "hold ESC 4\nwait 1\nhold ESC 1\nwait 3\n", 6},
               {"", "wait 2\n", 3}};
  for (const auto& c : cases) {
    run(showHighScores, c.script, c.heldOnArrival);
    EXPECT_EQ(headlessPollCount(), c.polls) << c.script;
  }
}

TEST_F(HighScoreScreens, AScoreNoHigherThanRow19sEntersNothingAndANewRowGoesBelowEqualOnes) {
  highScores[19] = highScores[20] = 0;  // a game given up on its first intro scores 0
  run(runGame, "wait 2\nhold ESC 1\nwait 2\nhold A 1\nhold ENTER 1\n");
  EXPECT_EQ(tableRows()[20], Row("TORVA", 0)) << "no entry was opened";

  resetScoreTable();
  std::strcpy(highScoreNames[20], "NEW");
  highScores[20] = 100;
  sortScoreTable();
  std::vector<Row> expected = defaultRows();
  expected.insert(expected.begin() + 11, Row("NEW", 100));
  expected.pop_back();
  EXPECT_EQ(tableRows(), expected) << "row 10 keeps the older 100; the old row 19 drops to 20";
}

}  // namespace
