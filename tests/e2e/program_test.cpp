// The whole program under kravix-headless: start, the main cycle's ways out,
// the alarm signal, and the shots the runner writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/test_support.h"

namespace {

std::vector<unsigned char> readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Program, EscapeOnTheTitleEndsWithStatusZero) {
  std::string folder = makeTempFolder("escape");
  RunResult run = runHeadless("wait 5\nhold ESC 5\nwait 100\n", folder);
  EXPECT_EQ(run.status, 0);
}

TEST(Program, EnterStartsAGameAndTheCycleComesBackToTheTitle) {
  std::string folder = makeTempFolder("enter");
  RunResult run = runHeadless("wait 5\nhold ENTER 2\nwait 5\nshot back\nhold ESC 3\n", folder);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::filesystem::exists(folder + "/back.idx"));
}

TEST(Program, F12EndsAtOnceWithStatusZero) {
  std::string folder = makeTempFolder("f12");
  EXPECT_EQ(runHeadless("", folder).status, 0);
  EXPECT_EQ(runHeadless("wait 3\nhold F12 1\n", folder).status, 0);
}

TEST(Program, ShotsHoldTheScreenAndThePaletteTheGameSet) {
  std::string folder = makeTempFolder("shot");
  ASSERT_EQ(runHeadless("wait 5\nshot title\n", folder).status, 0);
  std::vector<unsigned char> idx = readBytes(folder + "/title.idx");
  std::vector<unsigned char> ppm = readBytes(folder + "/title.ppm");
  ASSERT_EQ(idx.size(), 64000u + 768u);
  const std::string header = "P6\n320 200\n255\n";
  ASSERT_EQ(ppm.size(), header.size() + 192000u);
  EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + header.size()), header);
  int painted = 0;
  for (int i = 0; i < 64000; ++i) {
    painted += idx[i] != 0;
    for (int c = 0; c < 3; ++c) {
      ASSERT_EQ(ppm[header.size() + i * 3 + c], idx[64000 + idx[i] * 3 + c] * 4) << i;
    }
  }
  EXPECT_GT(painted, 50);
  EXPECT_EQ(idx[64000 + 15 * 3], 63);  // the palette is loaded: white
}

TEST(Program, BadOptionsAndScriptsEndWithStatusTwo) {
  std::string folder = makeTempFolder("bad");
  EXPECT_EQ(runHeadless("hold NOSUCHKEY 1\n", folder).status, 2);
  EXPECT_EQ(runHeadless("", folder, {"--frame-ms", "fast"}).status, 2);
  EXPECT_EQ(runHeadless("", folder, {"--bogus"}).status, 2);
}

TEST(Program, AScriptThatWouldPollForeverIsCutWithStatusThree) {
  std::string folder = makeTempFolder("forever");
  EXPECT_EQ(runHeadless("wait 2000000\n", folder).status, 3);
}

TEST(Program, AnAlarmSignalEndsWithStatusOne) {
  std::string folder = makeTempFolder("alarm");
  std::string script = folder + "/long.script";
  std::ofstream(script) << "wait 1\nshot running\nwait 900000\n";
  std::vector<std::string> arguments = {KRAVIX_HEADLESS_PATH, "--script", script, "--out", folder};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  // The alarm must come once the game runs its loops, however slow the machine is.
  for (int i = 0; i < 1000 && !std::filesystem::exists(folder + "/running.idx"); ++i) {
    usleep(10 * 1000);
  }
  kill(child, SIGALRM);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
