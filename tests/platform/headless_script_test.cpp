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

TEST(HeadlessScript, EachPollTakesOneStepCommandsWithoutPollsRunBeforeTheNextThenF12) {
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
  for (int code : {-1, 128, 100000}) EXPECT_FALSE(held(code)) << code;  // no such keys
}

TEST(HeadlessScript, ArrowsAreTheCursorBlockReadAsTheKeypadArrowsOnlyWhenTranslated) {
  startHeadlessVideo();
  useScript("hold UP 2\n");
  keyboard_update();
  EXPECT_TRUE(held(SCANCODE_CURSORUP) && !held(SCANCODE_CURSORBLOCKUP));
  keyboard_translatekeys(0);
  EXPECT_TRUE(held(SCANCODE_CURSORBLOCKUP) && !held(SCANCODE_CURSORUP));
}

}  // namespace
