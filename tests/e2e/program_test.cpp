// The whole program under kravix-headless: its ways out, the alarm signal, and
// the programs a test starts never outliving it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {

bool isZombie(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  return line.size() > line.rfind(')') + 2 && line[line.rfind(')') + 2] == 'Z';
}

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

// A test that dies, timed out or crashed, takes the programs it started with it,
// so nothing is left holding the test runner's output open.
TEST(Program, AProgramATestStartsDiesWithTheTest) {
  const std::string folder = makeTempFolder("orphan");
  std::ofstream(folder + "/long.script") << "wait 900000\n";
  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t test = fork();
  if (test == 0) {  // stands in for a test process
    pid_t game = startIn(folder, {KRAVIX_HEADLESS_PATH, "--script", "long.script"});
    ssize_t sent = write(report[1], &game, sizeof game);
    pause();
    _exit(sent == sizeof game ? 0 : 1);
  }
  close(report[1]);
  pid_t game = 0;
  ASSERT_EQ(read(report[0], &game, sizeof game), static_cast<ssize_t>(sizeof game));
  close(report[0]);
  ASSERT_GT(game, 0);
  kill(test, SIGKILL);
  waitpid(test, nullptr, 0);
  bool gone = false;
  for (int i = 0; i < 1000 && !gone; ++i, usleep(10000))
    gone = kill(game, 0) != 0 || isZombie(game);
  EXPECT_TRUE(gone);
  if (!gone) kill(game, SIGKILL);
}

}  // namespace
