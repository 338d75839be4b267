// A short soak: the whole game under the soak driver's random keys for a few
// thousand polls. It must reach every screen, end with status 0 on F12 and
// leave a score file that passes its check; the keys it recorded, replayed
// through kravix-headless, must give the same screenshots and score file.
#include <gtest/gtest.h>

#include "run_files.h"
#include "support/test_support.h"

namespace {

class ShortSoak : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new std::string(makeTempFolder("soak"));
    status = runIn(*folder, {KRAVIX_SOAK_PATH, "--seed", "9", "--polls", "30000", "--require-all",
                             "--record", "keys.script", "--report", "report.txt"});
    report = new std::string(readWhole(*folder + "/report.txt"));
  }
  static void TearDownTestSuite() {
    delete folder;
    delete report;
  }
  static std::string* folder;
  static std::string* report;
  static int status;
};
std::string* ShortSoak::folder;
std::string* ShortSoak::report;
int ShortSoak::status;

TEST_F(ShortSoak, ReachesEveryScreenAndEndsCleanlyOnF12) {
  EXPECT_EQ(status, 0) << *report << readWhole(*folder + "/stderr.txt");
  EXPECT_NE(report->find("30000 polls fed"), std::string::npos) << *report;
  EXPECT_NE(report->find("exit status 0"), std::string::npos) << *report;
  EXPECT_NE(report->find("every screen reached: yes"), std::string::npos) << *report;
  EXPECT_NE(report->find("score file: passes its check"), std::string::npos) << *report;
}

TEST_F(ShortSoak, RecordedKeysReplayTheSameRun) {
  const std::string replay = makeTempFolder("soak-replay");
  ASSERT_EQ(runIn(replay, {KRAVIX_HEADLESS_PATH, "--script", *folder + "/keys.script"}), 0);
  const std::vector<std::string> screenshots = filesEndingWith(*folder, {".ppm"});
  ASSERT_FALSE(screenshots.empty());
  ASSERT_EQ(filesEndingWith(replay, {".ppm"}), screenshots);
  for (const std::string& name : screenshots) {
    EXPECT_EQ(readWhole(*folder + "/" + name), readWhole(replay + "/" + name)) << name;
  }
  EXPECT_EQ(readWhole(*folder + "/.kravix.sco"), readWhole(replay + "/.kravix.sco"));
}

}  // namespace
