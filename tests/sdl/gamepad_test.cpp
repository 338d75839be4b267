// Gamepads on the SDL2 keyboard: SDL's virtual joystick under the dummy video
// driver, read back through keyboard_keypressed as the game reads keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/keyboard.h"
#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/vga.h"
#include "virtual_pad.h"

namespace {

class Gamepad : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("XDG_CONFIG_HOME", "/nonexistent", 1);  // the default bindings
    forgetPlayerKeyBindings();
    // The dummy driver's window never has focus, which would hold back pad events.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
  }
  void startKeys() {
    keyboard_init();
    keyboard_translatekeys(TRANSLATE_CURSORKEYS);
    keyboard_update();
  }
  void TearDown() override {
    for (VirtualPad& pad : pads) {
      if (pad.joystick) pad.pull();
    }
    keyboard_close();
    vga_setmode(TEXT);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualPad& plugIn() {
    pads.emplace_back().plugIn();
    return pads.back();
  }

  // The codes held now, among all 128.
  static std::vector<int> heldCodes() {
    std::vector<int> codes;
    for (int code = 0; code < 128; ++code) {
      if (keyboard_keypressed(code)) codes.push_back(code);
    }
    return codes;
  }

  std::vector<VirtualPad> pads;
};

using Codes = std::vector<int>;

// Each default input holds its keys while down, and nothing else; a button
// read before the game starts, the sticks past their dead zone.
TEST_F(Gamepad, EachDefaultInputHoldsItsKeysWhileDownAndNothingElse) {
  VirtualPad& pad = plugIn();  // before the game starts
  startKeys();
  ASSERT_EQ(openGamepadCount(), 1);
  const std::pair<std::function<void(bool)>, Codes> inputs[] = {
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_A, on); }, {SCANCODE_RIGHTSHIFT}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_B, on); }, {SCANCODE_ENTER}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_X, on); }, {SCANCODE_SPACE}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_Y, on); }, {SCANCODE_F2}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_START, on); }, {SCANCODE_ENTER}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_BACK, on); }, {SCANCODE_ESCAPE}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_GUIDE, on); }, {}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, on); }, {SCANCODE_F5}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, on); }, {SCANCODE_F6}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_DPAD_UP, on); },
       {SCANCODE_RIGHTSHIFT, SCANCODE_CURSORUP}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, on); }, {SCANCODE_CURSORDOWN}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, on); }, {SCANCODE_A}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, on); }, {SCANCODE_S}},
      {[&](bool on) { pad.press(SDL_CONTROLLER_BUTTON_LEFTSTICK, on); }, {}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_LEFTX, on ? -60 : 0); }, {SCANCODE_A}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_LEFTX, on ? 60 : 0); }, {SCANCODE_S}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_LEFTY, on ? -60 : 0); }, {SCANCODE_RIGHTSHIFT}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_LEFTY, on ? 60 : 0); }, {}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_RIGHTX, on ? -60 : 0); },
       {SCANCODE_CURSORLEFT}},
      {[&](bool on) { pad.stick(SDL_CONTROLLER_AXIS_RIGHTX, on ? 60 : 0); },
       {SCANCODE_CURSORRIGHT}},
      {[&](bool on) { pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, on ? 100 : 0); },
       {SCANCODE_ENTER}},
      {[&](bool on) { pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, on ? 100 : 0); }, {}},
  };
  for (size_t i = 0; i < std::size(inputs); ++i) {
    const auto& [move, codes] = inputs[i];
    move(true);
    keyboard_update();
    keyboard_update();
    EXPECT_EQ(heldCodes(), codes) << "input " << i << ", still down";
    move(false);
    keyboard_update();
    EXPECT_EQ(heldCodes(), Codes{}) << "input " << i << ", let go";
  }
}

TEST_F(Gamepad, AStickHeldHalfWayTurnsSteadilyAndOnlyALargeReturnReleasesIt) {
  startKeys();
  VirtualPad& pad = plugIn();
  keyboard_update();
  auto turnsAt = [&pad](int percent) {
    pad.stick(SDL_CONTROLLER_AXIS_LEFTX, percent);
    keyboard_update();
    return keyboard_keypressed(SCANCODE_S) != 0;
  };
  EXPECT_FALSE(turnsAt(20));  // in the dead zone
  EXPECT_FALSE(turnsAt(30));  // not yet out of it
  EXPECT_TRUE(turnsAt(50));
  // A thumb holding half way wavers; the turn holds throughout.
  for (int percent : {42, 55, 31, 48, 27, 60, 35, 50}) EXPECT_TRUE(turnsAt(percent)) << percent;
  EXPECT_FALSE(turnsAt(20));
  EXPECT_FALSE(turnsAt(30));
}

TEST_F(Gamepad, APadPluggedInMidGameWorksAndPulledOutReleasesItsKeys) {
  startKeys();
  EXPECT_EQ(openGamepadCount(), 0);
  VirtualPad& pad = plugIn();
  keyboard_update();
  EXPECT_EQ(openGamepadCount(), 1);
  pad.press(SDL_CONTROLLER_BUTTON_A, true);
  pad.stick(SDL_CONTROLLER_AXIS_LEFTX, -80);
  keyboard_update();
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_A, SCANCODE_RIGHTSHIFT}));
  pad.pull();
  keyboard_update();
  EXPECT_EQ(openGamepadCount(), 0);
  EXPECT_EQ(heldCodes(), Codes{});
  VirtualPad& again = plugIn();  // and back
  keyboard_update();
  again.press(SDL_CONTROLLER_BUTTON_X, true);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{SCANCODE_SPACE});
}

TEST_F(Gamepad, TwoPadsAtOnceHoldTheirKeysApart) {
  startKeys();
  pads.reserve(2);
  VirtualPad& one = plugIn();
  VirtualPad& two = plugIn();
  keyboard_update();
  EXPECT_EQ(openGamepadCount(), 2);
  one.press(SDL_CONTROLLER_BUTTON_A, true);
  two.press(SDL_CONTROLLER_BUTTON_A, true);
  two.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  keyboard_update();
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_A, SCANCODE_RIGHTSHIFT}));
  one.press(SDL_CONTROLLER_BUTTON_A, false);
  keyboard_update();
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_A, SCANCODE_RIGHTSHIFT}));  // the second still holds
  two.pull();
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{});
}

TEST_F(Gamepad, APressAndReleaseBetweenTwoUpdatesReadsOnce) {
  startKeys();
  VirtualPad& pad = plugIn();
  keyboard_update();
  pad.press(SDL_CONTROLLER_BUTTON_B, true);
  SDL_PumpEvents();  // SDL sees the press; the game has not polled yet
  pad.press(SDL_CONTROLLER_BUTTON_B, false);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_ENTER));
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_ENTER));
}

TEST_F(Gamepad, WhileANameIsTypedThePadTypesNoLettersButStillEndsTheEntry) {
  startKeys();
  VirtualPad& pad = plugIn();
  keyboard_update();
  keyboard_typing(1);
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  pad.press(SDL_CONTROLLER_BUTTON_START, true);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{SCANCODE_ENTER});
  keyboard_typing(0);
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_ENTER, SCANCODE_A}));
}

}  // namespace
