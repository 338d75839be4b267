// The whole program under kravix-headless: its ways out, the alarm signal,
// and the shots the runner writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {

TEST(Program, EscapeOnTheTitleAndF12EndWithStatusZeroAndShotsHoldWhatWasShown) {
  // A shot after the key proves the program left on the key, not on the F12
  // that the runner holds after the script.
  std::string folder;
  for (const std::string key : {"F12", "ESC"}) {
    folder = makeTempFolder(key);
    const std::string script = "wait 5\nshot title\nhold " + key + " 5\nwait 100\nshot late\n";
    EXPECT_EQ(runHeadless(script, folder).status, 0) << key;
    EXPECT_FALSE(std::filesystem::exists(folder + "/late.idx")) << key;
  }
  // The title's shot, in palette indices and in colour through the game's palette.
  const std::string idx = readWhole(folder + "/title.idx"), ppm = readWhole(folder + "/title.ppm");
  const std::string header = "P6\n320 200\n255\n";
  ASSERT_EQ(idx.size(), 64000u + 768u);
  ASSERT_EQ(ppm.size(), header.size() + 192000u);
  EXPECT_EQ(ppm.substr(0, header.size()), header);
  auto byte = [](const std::string& bytes, size_t i) { return static_cast<uint8_t>(bytes[i]); };
  int painted = 0;
  for (size_t i = 0; i < 64000; ++i) {
    painted += byte(idx, i) != 0;
    for (size_t c = 0; c < 3; ++c) {
      ASSERT_EQ(byte(ppm, header.size() + i * 3 + c), byte(idx, 64000 + byte(idx, i) * 3 + c) * 4);
    }
  }
  EXPECT_GT(painted, 50);
  EXPECT_EQ(byte(idx, 64000 + 15 * 3), 63);  // white
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
