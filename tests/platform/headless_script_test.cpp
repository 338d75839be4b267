#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"
#include "support/test_support.h"

namespace {

bool held(int scancode) {
  return keyboard_keypressed(scancode) != 0;
}

TEST(HeadlessScript, EachPollTakesOneStepOfTheCurrentCommand) {
  startHeadlessVideo();
  useScript("hold A S 2\nwait 1\nhold ENTER 1\n");
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_A) && held(SCANCODE_S));
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_A));
  keyboard_update();
  EXPECT_FALSE(held(SCANCODE_A) || held(SCANCODE_ENTER));
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_ENTER));
  EXPECT_FALSE(headlessScriptDone());
}

TEST(HeadlessScript, AfterTheScriptF12IsHeld) {
  startHeadlessVideo();
  useScript("# nothing but a comment\n\nwait 1\n");
  keyboard_update();
  EXPECT_FALSE(held(SCANCODE_F12));
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_F12));
  EXPECT_TRUE(headlessScriptDone());
}

TEST(HeadlessScript, ZeroPollCommandsRunBeforeTheNextPoll) {
  startHeadlessVideo();
  useScript("wait 0\nhold ESC 0\nclock 7\nhold F1 1\n");
  timeval before{}, after{};
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_F1));
  EXPECT_FALSE(held(SCANCODE_ESCAPE));
  clock_gettimeofday(&before);
  clock_gettimeofday(&after);
  EXPECT_EQ((after.tv_sec - before.tv_sec) * 1000000 + (after.tv_usec - before.tv_usec), 7000);
}

int feederCalls = 0;
void feedTwoPollsOfEnter() {
  if (++feederCalls <= 2) headlessAppendScript("clock 3\nhold ENTER 1\n", nullptr);
}

TEST(HeadlessScript, AFeederExtendsTheScriptUntilItAddsNothing) {
  startHeadlessVideo();
  useScript("hold A 1\n");
  feederCalls = 0;
  headlessSetScriptFeeder(feedTwoPollsOfEnter);
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_A));
  EXPECT_EQ(feederCalls, 0);
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_ENTER) && !held(SCANCODE_A));
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_ENTER));
  EXPECT_FALSE(headlessScriptDone());
  keyboard_update();
  EXPECT_EQ(feederCalls, 3);
  EXPECT_TRUE(held(SCANCODE_F12) && !held(SCANCODE_ENTER));
  EXPECT_TRUE(headlessScriptDone());
  timeval before{}, after{};
  clock_gettimeofday(&before);
  clock_gettimeofday(&after);
  EXPECT_EQ((after.tv_sec - before.tv_sec) * 1000000 + (after.tv_usec - before.tv_usec),
            3000);  // the fed clock command ran
  std::string error;
  EXPECT_FALSE(headlessAppendScript("hold NOKEY 1\n", &error));
  EXPECT_NE(error.find("NOKEY"), std::string::npos);
  headlessReset();  // the feeder goes with the reset
}

TEST(HeadlessScript, KeyNamesReachTheirScanCodes) {
  startHeadlessVideo();
  useScript(
      "hold Q P A L Z M 1 0 MINUS EQUALS BACKSPACE TAB LCTRL LSHIFT RSHIFT SPACE F10 F11 1\n");
  keyboard_update();
  for (int code : {16, 25, 30, 38, 44, 50, 2, 11, 12, 13, 14, 15, 29, 42, 54, 57, 68, 87}) {
    EXPECT_TRUE(held(code)) << code;
  }
  EXPECT_FALSE(held(SCANCODE_ENTER));
}

TEST(HeadlessScript, ArrowsReadAsTheKeypadArrows) {
  startHeadlessVideo();
  useScript("hold UP DOWN LEFT RIGHT 1\n");
  keyboard_update();
  EXPECT_TRUE(held(72) && held(80) && held(75) && held(77));
}

TEST(HeadlessScript, BadScriptsAreRefusedWithTheLine) {
  std::string error;
  EXPECT_FALSE(headlessLoadScript("wait 1\nhold BANANA 3\n", &error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  EXPECT_FALSE(headlessLoadScript("wait -1\n", &error));
  EXPECT_FALSE(headlessLoadScript("hold 3\n", &error));
  EXPECT_FALSE(headlessLoadScript("shot ../escape\n", &error));
  EXPECT_FALSE(headlessLoadScript("jump 3\n", &error));
  EXPECT_TRUE(headlessLoadScript("  wait 3   # comment\n", &error));
}

TEST(HeadlessScript, OutOfRangeScanCodesReadAsUp) {
  startHeadlessVideo();
  useScript("hold F12 1\n");
  keyboard_update();
  EXPECT_EQ(keyboard_keypressed(-1), 0);
  EXPECT_EQ(keyboard_keypressed(128), 0);
  EXPECT_EQ(keyboard_keypressed(100000), 0);
}

TEST(HeadlessClock, AdvancesByTheFrameStepPerRead) {
  startHeadlessVideo();
  headlessSetFrameMs(20);
  timeval first{}, second{};
  clock_gettimeofday(&first);
  clock_gettimeofday(&second);
  EXPECT_EQ((second.tv_sec - first.tv_sec) * 1000000 + (second.tv_usec - first.tv_usec), 20000);
}

}  // namespace
