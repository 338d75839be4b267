// The whole program under kravix-headless: its ways out and the alarm signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {

TEST(Program, EscapeOnTheTitleAndF12EndWithStatusZeroAtOnce) {
  // A shot after the key proves the program left on the key, not on the F12
  // that the runner holds after the script.
  for (const std::string key : {"F12", "ESC"}) {
    const std::string folder = makeTempFolder(key);
    const std::string script = "wait 5\nshot title\nhold " + key + " 5\nwait 100\nshot late\n";
    EXPECT_EQ(runHeadless(script, folder).status, 0) << key;
    EXPECT_FALSE(std::filesystem::exists(folder + "/late.idx")) << key;
  }
}

TEST(Program, TheRunnerRefusesBadScriptsAndCutsOneThatWouldPollForever) {
  const std::string folder = makeTempFolder("runner");
  EXPECT_EQ(runHeadless("hold NOSUCHKEY 1\n", folder).status, 2);
  EXPECT_EQ(runHeadless("", folder, {"--frame-ms", "fast"}).status, 2);
  EXPECT_EQ(runHeadless("wait 2000000\n", folder).status, 3);
}

TEST(Program, AnAlarmSignalEndsWithStatusOne) {
  const std::string folder = makeTempFolder("alarm");
  std::ofstream(folder + "/long.script") << "wait 1\nshot running\nwait 900000\n";
  const pid_t child =
      startIn(folder, {KRAVIX_HEADLESS_PATH, "--script", "long.script", "--out", folder});
  // The alarm must come once the game runs its loops, however slow the machine is.
  for (int i = 0; i < 1000 && !std::filesystem::exists(folder + "/running.idx"); ++i) usleep(10000);
  kill(child, SIGALRM);
  EXPECT_EQ(exitStatus(child), 1);
}

}  // namespace
