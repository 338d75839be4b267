// The same script and frame step give the same run: a long script through the
// title, two attempts at a level (thrust, fire, turns), help, options, pause
// and the high scores, run twice; every shot and the score file must agree.
#include <gtest/gtest.h>

#include <set>

#include "run_files.h"
#include "support/test_support.h"

namespace {

const std::string kScript = std::string(KRAVIX_SOURCE_DIR) + "/tests/stress/long_run.script";

int shotLines() {
  const std::string script = readWhole(kScript);
  int lines = 0;
  for (size_t at = script.find("\nshot "); at != std::string::npos;
       at = script.find("\nshot ", at + 1))
    ++lines;
  return lines;
}

// Leaves the first run's files in *first.
void runTwiceAndCompare(const std::string& name, const std::string& frameMs, std::string* first) {
  *first = makeTempFolder(name + "-first");
  const std::string second = makeTempFolder(name + "-second");
  for (const std::string& folder : {*first, second}) {
    ASSERT_EQ(runIn(folder, {KRAVIX_HEADLESS_PATH, "--script", kScript, "--frame-ms", frameMs}), 0);
  }
  const std::vector<std::string> shots = filesEndingWith(*first, {".ppm", ".idx"});
  ASSERT_EQ(shots.size(), 2u * shotLines());
  ASSERT_EQ(filesEndingWith(second, {".ppm", ".idx"}), shots);
  std::set<std::string> pictures;
  for (const std::string& shot : shots) {
    const std::string bytes = readWhole(*first + "/" + shot);
    EXPECT_EQ(bytes, readWhole(second + "/" + shot)) << shot << " differs between two runs";
    if (shot.ends_with(".idx")) pictures.insert(bytes);
  }
  // The run moves on: screens change and the flight goes on between shots.
  EXPECT_GE(pictures.size(), 20u);
  const std::string scores = readWhole(*first + "/.kravix.sco");
  EXPECT_EQ(scores.size(), 492u);
  EXPECT_EQ(scores, readWhole(second + "/.kravix.sco"));
}

TEST(Replay, TheSameScriptGivesTheSameShotsByteForByte) {
  std::string folder;
  runTwiceAndCompare("replay20", "20", &folder);
}

TEST(Replay, AnotherFrameStepIsAsRepeatableAndChangesOnlyTheFlight) {
  std::string fast;
  runTwiceAndCompare("replay33", "33", &fast);
  const std::string slow = makeTempFolder("replay20-once");
  ASSERT_EQ(runIn(slow, {KRAVIX_HEADLESS_PATH, "--script", kScript, "--frame-ms", "20"}), 0);
  // The title counts passes, the level counts time.
  EXPECT_EQ(readWhole(fast + "/01_title.idx"), readWhole(slow + "/01_title.idx"));
  EXPECT_NE(readWhole(fast + "/10_flight04.idx"), readWhole(slow + "/10_flight04.idx"));
}

}  // namespace
