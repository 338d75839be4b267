// The whole program under kravix-headless: its ways out, and the programs a test
// starts never outliving it. The alarm's way out is the game program's test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace {

TEST(Program, EscapeOnTheTitleAndF12EndWithStatusZeroAtOnceAndALostShotWithFour) {
  // A shot after the key proves the program left on the key, not on the F12
  // that the runner holds after the script.
  for (const std::string key : {"F12", "ESC"}) {
    const std::string folder = makeTempFolder(key);
    const std::string script = "wait 5\nshot title\nhold " + key + " 5\nwait 100\nshot late\n";
    EXPECT_EQ(runHeadless(script, folder).status, 0) << key;
    EXPECT_FALSE(std::filesystem::exists(folder + "/late.idx")) << key;
  }
  const std::string folder = makeTempFolder("noshot");  // a shot that cannot be written: 4
  EXPECT_EQ(runHeadless("wait 1\nshot lost\n", folder, {"--out", folder + "/missing"}).status, 4);
}

TEST(Program, TheRunnerRefusesBadScriptsAndCutsOneThatWouldPollForever) {
  const std::string folder = makeTempFolder("runner");
  EXPECT_EQ(runHeadless("hold NOSUCHKEY 1\n", folder).status, 2);
  EXPECT_EQ(runHeadless("", folder, {"--frame-ms", "fast"}).status, 2);
  EXPECT_EQ(runHeadless("wait 2000000\n", folder).status, 3);
}

// A test that dies, timed out or crashed, takes the programs it started with it,
// so nothing is left holding the test runner's output open.
TEST(Program, AProgramATestStartsDiesWithTheTest) {
  const std::string folder = makeTempFolder("orphan");
  std::ofstream(folder + "/long.script") << "wait 900000\n";
  EXPECT_TRUE(diesWithItsParent([&] {
    return startIn(folder, {KRAVIX_HEADLESS_PATH, "--script", "long.script"});
  }));
}

// The runner takes only what it can read safely, whole, and says so printably.

// kravix-headless run with its standard error kept.
RunResult runCapturingErrors(const std::string& folder, const std::vector<std::string>& arguments) {
  std::string command = std::string("exec '") + KRAVIX_HEADLESS_PATH + "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  RunResult result;
  result.status = exitStatus(startIn(folder, {"/bin/sh", "-c", command + " 2>stderr.txt"}), 60);
  result.output = readWhole(folder + "/stderr.txt");
  return result;
}

TEST(Program, TheRunnerTakesOnlyARegularScriptOfASaneSizeAndSaysWhyPrintably) {
  const std::string folder = makeTempFolder("inputs");
  ASSERT_EQ(mkfifo((folder + "/fifo").c_str(), 0600), 0);
  std::ofstream(folder + "/huge.script");
  std::filesystem::resize_file(folder + "/huge.script", (64 << 20) + 1);
  for (const std::string& path : {folder, std::string("/dev/zero"), folder + "/fifo"}) {
    const RunResult run = runCapturingErrors(folder, {"--script", path});
    EXPECT_EQ(run.status, 2) << path;
    EXPECT_NE(run.output.find(path + ": not a regular file"), std::string::npos) << run.output;
  }
  const RunResult huge = runCapturingErrors(folder, {"--script", folder + "/huge.script"});
  EXPECT_EQ(huge.status, 2);
  EXPECT_NE(huge.output.find("larger than 64 MiB"), std::string::npos) << huge.output;
  std::filesystem::resize_file(folder + "/huge.script", 64 << 20);
  const RunResult full = runCapturingErrors(folder, {"--script", folder + "/huge.script"});
  EXPECT_EQ(full.output.find("larger than"), std::string::npos) << "64 MiB is taken";
  EXPECT_FALSE(std::filesystem::exists(folder + "/.kravix.sco"));  // the game never started

  // Raw bytes in its messages are shown escaped.
  std::ofstream(folder + "/bad.script") << "wait 1\nhold \x1b]0;owned\x07 1\n";
  const RunResult run = runCapturingErrors(folder, {"--script", "bad.script", "--\x1b[2J"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("'--\\x1B[2J'"), std::string::npos) << run.output;
  const RunResult script = runCapturingErrors(folder, {"--script", "bad.script"});
  EXPECT_NE(script.output.find("line 2: unknown key \\x1B]0;owned\\x07"), std::string::npos)
      << script.output;
  EXPECT_EQ(script.output.find('\x1b'), std::string::npos);
  std::ofstream(folder + "/long.script") << "hold " << std::string(80, 'Q') << "Z 1\n";
  const std::string cut = runCapturingErrors(folder, {"--script", "long.script"}).output;
  EXPECT_NE(cut.find(std::string(80, 'Q')), std::string::npos) << cut;
  EXPECT_EQ(cut.find("QZ"), std::string::npos) << "a word is shown up to 80 bytes";
}

TEST(Program, HelpNamesEveryOptionAndAValueMissingAtTheEndIsAsked) {
  const RunResult last = runCapturingErrors(makeTempFolder("last"), {"--script"});
  EXPECT_EQ(last.status, 2);
  EXPECT_NE(last.output.find("'--script' requires a value"), std::string::npos) << last.output;
  const RunResult help = runHeadless("", makeTempFolder("help"), {"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* option :
       {"--script FILE", "--out DIR", "--frame-ms N", "--record FILE", "--help", "--version"})
    EXPECT_NE(help.output.find(std::string("\n  ") + option), std::string::npos) << help.output;
}

}  // namespace
