// The headless backend's scripted keys and clock, which every whole-game test drives.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/keyboard.h"
#include "platform/script/script_format.h"
#include "platform/script/script_player.h"
#include "support/test_support.h"

namespace {

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
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_A) && keyboard_keypressed(SCANCODE_S));
  EXPECT_EQ(clockStep(), 20000);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_A));
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_A) || keyboard_keypressed(SCANCODE_ESCAPE));
  EXPECT_EQ(clockStep(), 7000);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_ENTER) && !keyboard_keypressed(SCANCODE_F12));
  EXPECT_FALSE(headlessScriptDone());
  keyboard_update();  // after the script, F12
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_F12) && !keyboard_keypressed(SCANCODE_ENTER));
  EXPECT_TRUE(headlessScriptDone());
  for (int code : {-1, 128, 100000})
    EXPECT_FALSE(keyboard_keypressed(code)) << code;  // no such keys
}

TEST(HeadlessScript, PastTheLastCommandTheClockTakesItsStepAndReadsNoFurther) {
  ParsedScript script;
  std::string error;
  ASSERT_TRUE(parseScript("wait 1\ntime 5000\n", &script, &error)) << error;
  script.commands.pop_back();  // its record stays in the storage just past the end
  ScriptPlayer player;
  startScript(player, std::move(script));
  takeScriptPoll(player);
  const long long start = player.clockMicros;
  timeval now{};
  takeScriptClockReading(player, &now);
  EXPECT_EQ(player.clockMicros - start, player.stepMicros);
}

// The format's words are read whole, and its faults name their line printably.

std::string parseError(const std::string& text) {
  ParsedScript script;
  std::string error;
  EXPECT_FALSE(parseScript(text, &script, &error)) << text;
  return error;
}

const std::string kHead = [] {
  std::string head = "demo 1\nsettings 1 0 1 0 1 42\n";
  for (int row = 0; row < kDemoRows; ++row) head += "score " + std::to_string(row) + " 7 -\n";
  return head;
}();

TEST(ScriptFormat, EveryWordIsReadWholeSoATrailingLetterIsAFaultAndHexIsEitherCase) {
  for (const char* bad : {"hold F1x 1\n", "hold K128 1\n", "hold K0 1\n", "wait 1x\n", "wait -1\n",
                          "clock \n", "clock 7ms\n", "time 1.5\n", "epoch 1 1000000\n"}) {
    EXPECT_NE(parseError(bad).find("line 1: "), std::string::npos) << bad;
  }
  ParsedScript script;
  std::string error;
  ASSERT_TRUE(parseScript("hold F10 K72 1\r\n", &script, &error)) << error;
  EXPECT_TRUE(script.commands[0].keys.has(SCANCODE_F1 + 9) && script.commands[0].keys.has(72));
  std::string head = kHead;  // a name's hex digits in either case
  head.replace(head.find("score 4 7 -"), 11, "score 4 7 4b5A");
  ASSERT_TRUE(parseScript(head + "end\n", &script, &error)) << error;
  EXPECT_STREQ(script.table.names[4], "KZ");
}

TEST(Demo, TypingReadsTheDemosLayoutAndWithoutOneTheGermanKeyboards) {
  headlessReset();
  ASSERT_TRUE(headlessLoadScript("wait 1\n", nullptr));
  EXPECT_EQ(keyboard_keychar(SCANCODE_Z), 'Y');
  EXPECT_EQ(keyboard_keychar(SCANCODE_Q + 5), 'Z');
  ASSERT_TRUE(headlessLoadScript(kHead + "layout -12-Q--\nwait 1\nend\n", nullptr));
  for (int code = -1; code < 130; ++code) {
    const int typed = code == 2 ? '1' : code == 3 ? '2' : code == 5 ? 'Q' : 0;
    EXPECT_EQ(keyboard_keychar(code), typed) << code;
  }
  headlessReset();
}

TEST(Demo, ADamagedTruncatedOrForeignDemoIsRefusedNamingItsLine) {
  const std::pair<std::string, std::string> kBad[] = {
      {kHead + "wait 5\n", "line 24: the demo stops short of its end line"},
      {kHead + "wait 5\nhold A", "line 25: unknown command: hold A"},
      {"demo 1\nsettings 1 0 1 0 1 71\n", "line 2: settings are five flags"},
      {"demo 1\nsettings 1 0 1 0 1 42\nscore 3 7 -\nwait 1\n", "line 4: the demo's head lacks"},
      {kHead + "score 4 1 -\n", "line 24: a row given twice"},
      {kHead + "wait 1\nscore 4 1 -\n", "line 25: only the head of a demo gives"},
      {"demo 1\nscore 1 1 4B00\n", "line 2: bad name"},
      {"demo 1\nscore 1 1 4\n", "line 2: bad name"},
      {"demo 2\n", "line 1: a demo of a newer version"},
      {"wait 1\ndemo 1\n", "line 2: demo only opens a file"},
      {kHead + "end\nwait 1\n", "line 25: text after the demo's end"},
      {"settings 1 0 1 0 1 42\n", "line 1: only the head of a demo"},
      {kHead + "layout Q\nlayout Q\n", "line 25: layout given twice"},
      {kHead + "layout Qw\n", "line 24: a layout holds upper-case letters"},
      {kHead + "layout " + std::string(128, '-') + "\n", "line 24: layout takes one word"},
      {"\x7f"
       "ELF\x02\x01\x01",
       "line 1: unknown command: \\x7FELF\\x02\\x01\\x01"},
  };
  for (const auto& [text, message] : kBad) {
    EXPECT_EQ(parseError(text).substr(0, message.size()), message) << text;
  }
}

}  // namespace
