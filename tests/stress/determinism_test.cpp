// The whole game under stress: a short soak under the soak driver's random
// keys and its solver-planned autopilot through every screen, whose recorded
// keys the runner must replay byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "support/test_support.h"

namespace {

// The contents of the folder's files whose names end with the suffix, by name.
std::map<std::string, std::string> filesEndingWith(const std::string& folder,
                                                   const std::string& suffix) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    if (name.ends_with(suffix)) files[name] = readWhole(entry.path());
  }
  return files;
}

// The autopilot searches many futures from saved worlds between the frames it
// feeds; the game must play on as if it never had, or the replay strays.
TEST(Stress, AShortSoakReachesEveryScreenAndLevel2EndsCleanlyAndReplaysFromItsRecordedKeys) {
  const std::string folder = makeTempFolder("soak"), replay = makeTempFolder("soak-replay");
  const int status = exitStatus(
      startIn(folder, {KRAVIX_SOAK_PATH, "--seed", "9", "--polls", "30000", "--require-all",
                       "--record", "keys.script", "--report", "report.txt", "--autopilot", "0.1",
                       "--beam", "30", "--plan-seconds", "120", "--slips", "0.002"}));
  const std::string report = readWhole(folder + "/report.txt");
  ASSERT_EQ(status, 0) << report;
  std::smatch level;
  ASSERT_TRUE(std::regex_search(report, level, std::regex("highest level ([0-9]+)"))) << report;
  EXPECT_GE(std::stoi(level[1]), 2) << report;
  ASSERT_EQ(runHeadless(readWhole(folder + "/keys.script"), replay).status, 0);
  // The screenshots and the pilot's views, and the score file: the same, and at least one.
  for (const char* suffix : {".ppm", ".sco"}) {
    const auto recorded = filesEndingWith(folder, suffix);
    EXPECT_FALSE(recorded.empty()) << suffix;
    EXPECT_TRUE(recorded == filesEndingWith(replay, suffix)) << "the " << suffix << " files differ";
  }
}

}  // namespace
