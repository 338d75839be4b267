#include <gtest/gtest.h>

#include "input/controls.h"
#include "support/test_support.h"

namespace {

struct KeyFlag {
  const char* key;
  uint8_t Controls::*flag;
};

constexpr KeyFlag kKeyFlags[] = {
    {"ENTER", &Controls::fire},       {"F1", &Controls::help},
    {"F2", &Controls::pause},         {"F3", &Controls::screenshot},
    {"F4", &Controls::options},       {"F5", &Controls::keyF5},
    {"F6", &Controls::keyF6},         {"F12", &Controls::quickExit},
    {"ESC", &Controls::escape},       {"A", &Controls::turnLeft},
    {"S", &Controls::turnRight},      {"RSHIFT", &Controls::thrust},
    {"SPACE", &Controls::tag},        {"UP", &Controls::arrowUp},
    {"RIGHT", &Controls::arrowRight}, {"LEFT", &Controls::arrowLeft},
    {"DOWN", &Controls::arrowDown},
};

TEST(PollControls, EachKeySetsItsOwnFlagOnly) {
  for (const KeyFlag& keyFlag : kKeyFlags) {
    startHeadlessVideo();
    useScript(std::string("hold ") + keyFlag.key + " 1\nwait 1\n");
    pollControls();
    for (const KeyFlag& other : kKeyFlags) {
      EXPECT_EQ(controls.*other.flag != 0, &other == &keyFlag)
          << keyFlag.key << " -> " << other.key;
    }
    pollControls();
    EXPECT_EQ(controls.*keyFlag.flag, 0) << keyFlag.key << " released";
  }
}

TEST(PollControls, KeysTheGameDoesNotReadLeaveEveryFlagClear) {
  startHeadlessVideo();
  useScript("hold LSHIFT LCTRL TAB Q Z 0 MINUS 1\n");
  pollControls();
  for (const KeyFlag& keyFlag : kKeyFlags) EXPECT_EQ(controls.*keyFlag.flag, 0) << keyFlag.key;
}

TEST(ClearOneShotControls, ZeroesTheSevenOneShotFlagsOnly) {
  std::string allKeys = "hold";
  for (const KeyFlag& keyFlag : kKeyFlags) allKeys += std::string(" ") + keyFlag.key;
  startHeadlessVideo();
  useScript(allKeys + " 1\n");
  pollControls();
  clearOneShotControls();
  EXPECT_EQ(controls.fire | controls.help | controls.pause | controls.screenshot |
                controls.options | controls.keyF5 | controls.keyF6,
            0);
  EXPECT_TRUE(controls.quickExit && controls.escape && controls.turnLeft && controls.turnRight &&
              controls.thrust && controls.tag && controls.arrowUp && controls.arrowRight &&
              controls.arrowLeft && controls.arrowDown);
}

}  // namespace
