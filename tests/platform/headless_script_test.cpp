// The headless backend's scripted keys and clock, which every whole-game test drives.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"
#include "support/test_support.h"

namespace {

bool held(int scancode) {
  return keyboard_keypressed(scancode) != 0;
}

long clockStep() {
  timeval first{}, second{};
  clock_gettimeofday(&first);
  clock_gettimeofday(&second);
  return (second.tv_sec - first.tv_sec) * 1000000 + (second.tv_usec - first.tv_usec);
}

TEST(HeadlessScript, EachPollTakesOneStepAndCommandsWithoutPollsRunBeforeTheNext) {
  startHeadlessVideo();
  useScript("# a comment\n\nhold A S 2\nwait 0\nhold ESC 0\nclock 7\nwait 1\nhold ENTER 1\n");
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_A) && held(SCANCODE_S));
  EXPECT_EQ(clockStep(), 20000);
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_A));
  keyboard_update();
  EXPECT_FALSE(held(SCANCODE_A) || held(SCANCODE_ESCAPE));
  EXPECT_EQ(clockStep(), 7000);
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_ENTER) && !held(SCANCODE_F12));
  EXPECT_FALSE(headlessScriptDone());
  keyboard_update();  // after the script, F12
  EXPECT_TRUE(held(SCANCODE_F12) && !held(SCANCODE_ENTER));
  EXPECT_TRUE(headlessScriptDone());
}

TEST(HeadlessScript, KeyNamesReachTheirScanCodesAndOtherCodesReadAsUp) {
  startHeadlessVideo();
  useScript(
      "hold Q P A L Z M 1 0 MINUS EQUALS BACKSPACE TAB LCTRL LSHIFT RSHIFT SPACE F10 F11 "
      "UP DOWN LEFT RIGHT 1\n");
  keyboard_update();
  for (int code :
       {16, 25, 30, 38, 44, 50, 2, 11, 12, 13, 14, 15, 29, 42, 54, 57, 68, 87, 72, 80, 75, 77}) {
    EXPECT_TRUE(held(code)) << code;
  }
  for (int code : {SCANCODE_ENTER, -1, 128, 100000}) EXPECT_FALSE(held(code)) << code;
}

}  // namespace
