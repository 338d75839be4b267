// The high score table: its file (bytes, check, damaged and hostile files,
// failed saves, a HOME too long for it), the name entry and the table screen.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

#include "app/game.h"
#include "input/controls.h"
#include "platform/headless/headless.h"
#include "scores/high_score_screens.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "state/game_state.h"
#include "state/settings.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

static bool operator==(const Settings& a, const Settings& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

namespace {

using Bytes = std::vector<uint8_t>;
using Row = std::pair<std::string, uint32_t>;
const Settings kDefaultSettings = {1, 0, 1, 0, 0, 50};
constexpr uid_t kNobody = 65534;

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
std::vector<Row> defaultRows() {
  std::vector<Row> rows;
  for (int row = 0; row < kScoreRows; ++row) rows.emplace_back("TORVA", (20 - row) * 10);
  return rows;
}

int recordStart(int row) {
  return 6 + 23 * row;
}
// The checksum made to hold again over changed records: 31 times their byte sum, plus `extra`.
void reseal(Bytes& bytes, uint32_t extra = 0) {
  uint32_t sum = 0;
  for (int k = recordStart(0); k < recordStart(kScoreRows); ++k) sum += bytes.at(k);
  for (int i = 0; i < 3; ++i)
    bytes.at(489 + i) = static_cast<uint8_t>((31 * sum + extra) >> (16 - 8 * i));
}
std::vector<Row> decoded(const Bytes& bytes) {
  decodeScoreFile(bytes.data(), bytes.size());
  return tableRows();
}

// A table unlike the defaults, so that a load that keeps it is visible.
std::vector<Row> fillCustomTable(uint32_t top = 5000) {
  for (int row = 0; row < kScoreRows; ++row) {
    std::snprintf(highScoreNames[row], kNameField, "PILOT %d", row);
    highScores[row] = top - 100u * row;
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

  Bytes saved() { return saveScoreFile(), read(path); }
  static Bytes read(const std::string& file) {
    const std::string bytes = readWhole(file);
    return Bytes(bytes.begin(), bytes.end());
  }
  static long entries(const std::string& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  }

  std::string folder =
      makeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string path = folder + "/.kravix.sco";
};

TEST_F(ScoreFile, TheTableAndSettingsGoThroughTheFileInItsOldLayout) {
  Bytes bytes = saved();
  ASSERT_EQ(bytes.size(), 492u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{1, 0, 1, 0, 0, 50}));
  // Row 0: L = 5, "TORVA" and its terminator scrambled with the bare mask, then 200.
  const uint8_t* row0 = &bytes[recordStart(0)];
  EXPECT_EQ(Bytes(row0, row0 + 7), (Bytes{5, 0xCF, 0xD4, 0xC9, 0xCD, 0xDA, 0x9B}));
  EXPECT_EQ(row0[21] * 256 + row0[22], 200);
  EXPECT_EQ(bytes[recordStart(20) + 6], 0x9B + 20) << "row 20 scrambles with 20 added";
  // A name of the whole 20 characters has no terminator; scores keep 16 bits.
  std::vector<Row> custom = fillCustomTable();
  std::strcpy(highScoreNames[3], "ABCDEFGHIJKLMNOPQRST");
  custom[3].first = highScoreNames[3];
  highScores[0] = 70000;
  custom[0].second = 4464;
  bytes = saved();
  EXPECT_EQ(bytes[recordStart(3)], 20);
  resetScoreTable();
  EXPECT_EQ(decoded(bytes), custom);
}

TEST_F(ScoreFile, AnyChangedRecordByteFailsTheCheckAndWhenItHoldsANameStaysInItsField) {
  const std::vector<Row> custom = fillCustomTable();
  settings = {0, 1, 0, 1, 1, 65};
  Bytes good = saved();
  for (int k = 6; k < 489; ++k) {
    Bytes bad = good;
    ++bad[k];
    fillCustomTable();
    settings = kDefaultSettings;
    decodeScoreFile(bad.data(), bad.size());
    ASSERT_EQ(tableRows(), defaultRows()) << "byte " << k;
    ASSERT_EQ(settings, (Settings{0, 1, 0, 1, 1, 65})) << "byte " << k << ": the settings stay";
  }
  for (uint32_t extra : {0u, 30u, 31u, 0xFFFFFFFFu}) {
    reseal(good, extra);
    fillCustomTable();
    EXPECT_EQ(decoded(good), extra <= 30 ? custom : defaultRows()) << "K = 31 * S + " << int(extra);
  }
  // A hostile file: the checksum is made to hold, so the records are taken as they are.
  Bytes bytes = saved();
  for (int row = 0; row < kScoreRows; ++row) {
    bytes[recordStart(row)] = row == 0 ? 2 : 255;
    for (int j = 0; j < 20; ++j) bytes[recordStart(row) + 1 + j] = ('Z' ^ 0x9B) + row;
  }
  reseal(bytes);
  std::strcpy(highScoreNames[0], "ABCDEFGHIJKLMNOPQRST");
  decodeScoreFile(bytes.data(), bytes.size());
  EXPECT_STREQ(highScoreNames[0], "ZZZ") << "positions 0 to L, with no terminator among them";
  for (int row = 1; row < kScoreRows; ++row) EXPECT_EQ(highScoreNames[row], std::string(20, 'Z'));
}

// Out-of-range settings are brought into range, in-range ones kept.
TEST_F(ScoreFile, AFileIsReadOnlyAsFarAsItAndTheTableGoWithItsSettingsInRange) {
  std::vector<Row> custom = fillCustomTable();
  Bytes good = saved();
  // The file's size, the settings bytes written over the saved ones, and what is loaded.
  const std::tuple<size_t, Bytes, std::vector<Row>, Settings> cases[] = {
      {0, {}, defaultRows(), {1, 1, 1, 1, 1, 50}},  // bytes past the end read as 255
      {100, {}, defaultRows(), kDefaultSettings},
      {4 << 20, {}, custom, kDefaultSettings},
      {492, {2, 255, 0, 1, 128, 29}, custom, {1, 1, 0, 1, 1, 50}},
      {492, {0, 0, 0, 0, 0, 71}, custom, {0, 0, 0, 0, 0, 50}},
      {492, {1, 1, 1, 1, 1, 30}, custom, {1, 1, 1, 1, 1, 30}},
      {492, {0, 1, 0, 1, 0, 70}, custom, {0, 1, 0, 1, 0, 70}}};
  for (const auto& [size, stored, rows, loaded] : cases) {
    Bytes bytes = good;
    bytes.resize(size, 0xA5);
    std::copy(stored.begin(), stored.end(), bytes.begin());
    std::ofstream(path, std::ios::binary) << std::string(bytes.begin(), bytes.end());
    fillCustomTable();
    settings = {0, 0, 0, 0, 0, 40};
    loadScoreFile();
    EXPECT_EQ(tableRows(), rows) << size << " bytes";
    EXPECT_EQ(settings, loaded) << size << " bytes";
  }
  fs::remove(path);
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  settings = {0, 0, 0, 0, 0, 40};
  loadScoreFile();  // a FIFO in its place would block an ordinary open for good
  EXPECT_EQ(settings, (Settings{0, 0, 0, 0, 0, 40}));
}

// What stands at the path is the player's unless it is the game's own file: a link
// wherever it leads, a folder, and a file of another size are neither written nor
// (links and folders) read, and the game says so once, however many saves follow.
TEST_F(ScoreFile, NoLinkNorFileOfAnotherKindIsReplacedAndTheGameSaysSoOnce) {
  const std::string elsewhere = makeTempFolder("score-link-targets");
  std::ofstream(elsewhere + "/notes.txt") << "notes\n";
  // What is placed, what the game says, and whether the settings and table are
  // read (from whatever a regular file holds).
  const std::tuple<std::function<void()>, std::string, bool> cases[] = {
      {[&] { fs::create_symlink(elsewhere + "/notes.txt", path); }, " is a symbolic link", false},
      {[&] { fs::create_symlink(elsewhere + "/new.sco", path); }, " is a symbolic link", false},
      {[&] { fs::create_directory(path); }, " is not a regular file", false},
      {[&] { std::ofstream(path) << "notes\n"; }, " is not a score file", true},
  };
  for (const auto& [place, message, loads] : cases) {
    fs::remove(path);
    saveScoreFile();  // a save that goes through: the next problem is told again
    fs::remove(path);
    place();
    const auto kind = fs::symlink_status(path).type();
    const Bytes before = fs::is_regular_file(path) ? read(path) : Bytes{};
    settings = {0, 0, 0, 0, 0, 40};
    testing::internal::CaptureStderr();
    loadScoreFile();
    saveScoreFile();
    saveScoreFile();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kravix: " + path + message + ": it is left alone, and the scores are not saved\n");
    EXPECT_EQ(settings == (Settings{0, 0, 0, 0, 0, 40}), !loads) << message;
    EXPECT_EQ(fs::symlink_status(path).type(), kind) << message;
    EXPECT_TRUE(kind != fs::file_type::regular || read(path) == before) << message;
  }
  EXPECT_EQ(readWhole(elsewhere + "/notes.txt"), "notes\n");
  EXPECT_FALSE(fs::exists(elsewhere + "/new.sco"));
}

// Runs the action in a child process as a user that owns nothing here (nobody,
// when the tests run as root); returns what it said on standard error, or
// "status N" when it ended otherwise than with 0.
std::string asAnotherUser(const std::function<bool()>& action) {
  const std::string said = makeTempFolder("another-user") + "/stderr.txt";
  const pid_t child = fork();
  if (child == 0) {
    dup2(open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    bool dropped = geteuid() != 0 ||
                   (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0);
    _exit(!dropped ? 2 : action() ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return ok ? readWhole(said) : "status " + std::to_string(WEXITSTATUS(status));
}

TEST_F(ScoreFile, AFileThatCannotBeReadIsLeftAloneAndTheGameSaysSo) {
  fillCustomTable();
  const Bytes table = saved();
  SetUp();
  chmod(path.c_str(), 0200);
  chmod(folder.c_str(), 0777);  // the other user could put a new file in its place
  std::string said = asAnotherUser([] {
    return loadScoreFile(), saveScoreFile(), saveScoreFile(),
           settings == kDefaultSettings && tableRows() == defaultRows();
  });
  EXPECT_EQ(said, "kravix: cannot read " + path +
                      " (Permission denied): it is left alone, and the scores are not saved\n");
  EXPECT_EQ(read(path), table);
  EXPECT_EQ(entries(folder), 1);
}

TEST_F(ScoreFile, WhenHomeTakesNoNewFileTheScoreFileIsRewrittenInPlace) {
  const Bytes old = saved();
  const bool root = geteuid() == 0;
  if (root) chown(path.c_str(), kNobody, kNobody);  // HOME stays root's, 0755
  if (!root) chmod(folder.c_str(), 0555);
  const std::vector<Row> custom = fillCustomTable();
  std::string said = asAnotherUser([] { return saveScoreFile(), saveScoreFile(), true; });
  EXPECT_EQ(said, "kravix: no temporary file can be made beside " + path +
                      " (Permission denied): the scores are saved in place\n");
  const Bytes left = read(path);
  resetScoreTable();
  EXPECT_EQ(decoded(left), custom);

  if (root) chown(path.c_str(), 0, 0);
  chmod(path.c_str(), 0444);
  said = asAnotherUser([] { return saveScoreFile(), saveScoreFile(), true; });
  EXPECT_EQ(said, "kravix: cannot save the scores in " + path + ": Permission denied\n");
  EXPECT_EQ(read(path), left);
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(entries(folder), 1);
}

// A save whose writes fail keeps the old file and leaves no temporary one. A save
// killed at any moment leaves the old table or the new one; a temporary file it
// leaves behind goes at the next start, and nothing that merely looks like one.
TEST_F(ScoreFile, AFailedOrKilledSaveLeavesOneTableAndTheNextStartRemovesTheLeftovers) {
  const std::vector<Row> other = fillCustomTable(4000), custom = fillCustomTable();
  const Bytes old = saved();
  fillCustomTable(4000);
  withWritesFailing(saveScoreFile);
  EXPECT_EQ(read(path), old);
  EXPECT_EQ(entries(folder), 1) << "no temporary file is left";
  const std::string elsewhere = makeTempFolder("score-leftover-targets");
  std::ofstream(elsewhere + "/notes.txt") << "notes\n";
  const std::string lookalike = path + ".";
  std::ofstream(lookalike + "notes") << "x";    // five letters
  std::ofstream(lookalike + "ABCDEFG") << "x";  // seven
  fs::create_symlink(elsewhere + "/notes.txt", lookalike + "LINKED");
  fs::create_hard_link(elsewhere + "/notes.txt", lookalike + "HARDLN");
  fs::create_directory(lookalike + "FOLDER");
  std::ofstream(lookalike + "SAVING") << "x";
  const int saving = open((lookalike + "SAVING").c_str(), O_RDONLY);
  flock(saving, LOCK_EX);  // a save running in another game
  const long kept = entries(folder);

  int leftoversSeen = 0;
  for (int trial = 0; trial < 100; ++trial) {
    const pid_t saver = fork();
    if (saver == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      for (int i = 0;; ++i) {
        fillCustomTable(i % 2 ? 4000 : 5000);
        saveScoreFile();
      }
    }
    usleep(1000 + static_cast<useconds_t>(random() % 4000));
    kill(saver, SIGKILL);
    waitpid(saver, nullptr, 0);
    const std::vector<Row> left = decoded(read(path));
    ASSERT_TRUE(left == custom || left == other) << "trial " << trial;
    leftoversSeen += static_cast<int>(entries(folder) - kept);
    loadScoreFile();
    ASSERT_EQ(entries(folder), kept) << "trial " << trial;
  }
  EXPECT_GT(leftoversSeen, 0) << "no kill came between a temporary file and its rename";
  close(saving);
  EXPECT_EQ(readWhole(elsewhere + "/notes.txt"), "notes\n");
}

// Loaded at start-up and saved on the way out, the file is read back by the
// playthrough, the demo and the frames' tests.
TEST_F(ScoreFile, AHomeTooLongForThePathIsNeitherReadNorWrittenAndTheGameRuns) {
  std::string longHome = makeTempFolder(std::string(150, 'h') + "/" + std::string(150, 'o'));
  EXPECT_EQ(runHeadless("wait 5\nhold ESC 3\nwait 5\n", longHome).status, 0);
  EXPECT_FALSE(fs::exists(longHome + "/.kravix.sco"));
}

class HighScoreScreens : public ScoreFile {
 protected:
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
      {"a held Escape, then a new one after two characters", "ESC",
       "hold ESC 3\nhold A 1\nhold B 1\nhold ESC 1\nwait 5\n", "AB", 7},
      {"Escape at pass 499", "", "wait 498\nhold ESC 1\nwait 5\n", "", kToTheEnd},
      {"Escape at pass 500, empty name", "", "wait 499\nhold ESC 1\nwait 5\n", "", 501},
      {"the 21st character is dropped, Backspace makes room", "",
       twentyOne + "hold BACKSPACE 1\nhold D 1\nhold ESC 1\n", "ASASASASASASASASASAD"},
      {"Backspace on empty", "",
       "hold BACKSPACE 1\nhold A 1\nhold BACKSPACE 2\nhold C 1\nhold ESC 1\n", "C"},
      {"Tab, left Ctrl and left Shift type a space, right Shift nothing", "",
       "hold A 1\nhold TAB 1\nhold B 1\nhold LCTRL 1\nhold C 1\nhold LSHIFT 1\nhold RSHIFT 1\n"
       "hold D 1\nhold ESC 1\n",
       "A B C D"},
      {"left Shift (42) held: A and Q below it type nothing, M (50) above it does", "",
       "hold LSHIFT 2\nhold LSHIFT A 1\nhold LSHIFT Q 1\nhold LSHIFT M 1\nhold ESC 1\n", " M"},
      {"a held key types once; letting the higher go types the lower again", "",
       "hold A 3\nhold A M 2\nhold A 1\nhold ESC 1\n", "AMA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    resetGameWideState();
    run([] { gameState.score = 500, enterHighScoreName(); }, c.script, c.heldOnArrival);
    EXPECT_EQ(highScoreNames[20], c.name.empty() ? "TORVA" : c.name);
    EXPECT_EQ(highScores[20], c.name.empty() ? 0u : 500u);
    EXPECT_TRUE(showsText(headlessScreen(), 70, 12, 11, c.name)) << "the name as typed is shown";
    EXPECT_TRUE(c.polls < 0 || headlessPollCount() == c.polls) << headlessPollCount() << " polls";
    EXPECT_TRUE(c.polls != kToTheEnd || headlessScriptDone());
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

TEST_F(HighScoreScreens, TheTableShowsEveryVisibleRowFromTheFirst) {
  run(showHighScores, "wait 1\nhold ENTER 1\n");
  for (int row : {0, 19})
    EXPECT_TRUE(showsText(headlessScreen(), 70, 30 + 8 * row, 11, highScoreNames[row])) << row;
}

}  // namespace
