#include <gtest/gtest.h>

#include "input/controls.h"
#include "support/test_support.h"

namespace {

struct KeyFlag {
  const char* key;
  uint8_t Controls::*flag;
  bool oneShot;
};

constexpr KeyFlag kKeyFlags[] = {
    {"ENTER", &Controls::fire, true},        {"F1", &Controls::help, true},
    {"F2", &Controls::pause, true},          {"F3", &Controls::screenshot, true},
    {"F4", &Controls::options, true},        {"F5", &Controls::keyF5, true},
    {"F6", &Controls::keyF6, true},          {"F12", &Controls::quickExit, false},
    {"ESC", &Controls::escape, false},       {"A", &Controls::turnLeft, false},
    {"S", &Controls::turnRight, false},      {"RSHIFT", &Controls::thrust, false},
    {"SPACE", &Controls::tag, false},        {"UP", &Controls::arrowUp, false},
    {"RIGHT", &Controls::arrowRight, false}, {"LEFT", &Controls::arrowLeft, false},
    {"DOWN", &Controls::arrowDown, false},
};

TEST(PollControls, EachKeySetsItsOwnFlagOnlyKeysTheGameDoesNotReadNoneAndOneShotsClearAlone) {
  std::string allKeys = "hold";
  for (const KeyFlag& keyFlag : kKeyFlags) {
    allKeys += std::string(" ") + keyFlag.key;
    startHeadlessVideo();
    useScript(std::string("hold ") + keyFlag.key + " 1\nhold LSHIFT LCTRL TAB Q Z 0 MINUS 1\n");
    pollControls();
    for (const KeyFlag& other : kKeyFlags)
      EXPECT_EQ(controls.*other.flag != 0, &other == &keyFlag)
          << keyFlag.key << " -> " << other.key;
    pollControls();  // the key released, only unread keys held
    for (const KeyFlag& other : kKeyFlags) EXPECT_EQ(controls.*other.flag, 0) << other.key;
  }
  useScript(allKeys + " 1\n");
  pollControls();
  clearOneShotControls();
  for (const KeyFlag& keyFlag : kKeyFlags)
    EXPECT_EQ(controls.*keyFlag.flag == 0, keyFlag.oneShot) << keyFlag.key;
}

}  // namespace
