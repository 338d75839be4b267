// Gamepads on the SDL2 keyboard: SDL's virtual joystick under the dummy video
// driver, read back through keyboard_keypressed as the game reads keys.
#include <gtest/gtest.h>

#include <cstdlib>
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

TEST_F(Gamepad, EachDefaultButtonHoldsItsKeysWhileDownAndNothingElse) {
  VirtualPad& pad = plugIn();  // before the game starts
  startKeys();
  ASSERT_EQ(openGamepadCount(), 1);
  struct {
    SDL_GameControllerButton button;
    Codes codes;
  } const buttons[] = {
      {SDL_CONTROLLER_BUTTON_A, {SCANCODE_RIGHTSHIFT}},
      {SDL_CONTROLLER_BUTTON_B, {SCANCODE_ENTER}},
      {SDL_CONTROLLER_BUTTON_X, {SCANCODE_SPACE}},
      {SDL_CONTROLLER_BUTTON_Y, {SCANCODE_F2}},
      {SDL_CONTROLLER_BUTTON_START, {SCANCODE_ENTER}},
      {SDL_CONTROLLER_BUTTON_BACK, {SCANCODE_ESCAPE}},
      {SDL_CONTROLLER_BUTTON_GUIDE, {}},
      {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {SCANCODE_F5}},
      {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, {SCANCODE_F6}},
      {SDL_CONTROLLER_BUTTON_DPAD_UP, {SCANCODE_RIGHTSHIFT, SCANCODE_CURSORUP}},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, {SCANCODE_CURSORDOWN}},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, {SCANCODE_A}},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {SCANCODE_S}},
      {SDL_CONTROLLER_BUTTON_LEFTSTICK, {}},
  };
  for (const auto& [button, codes] : buttons) {
    pad.press(button, true);
    keyboard_update();
    EXPECT_EQ(heldCodes(), codes) << SDL_GameControllerGetStringForButton(button);
    keyboard_update();
    EXPECT_EQ(heldCodes(), codes) << SDL_GameControllerGetStringForButton(button);
    pad.press(button, false);
    keyboard_update();
    EXPECT_EQ(heldCodes(), Codes{}) << SDL_GameControllerGetStringForButton(button);
  }
}

TEST_F(Gamepad, SticksAndTriggersHoldTheirKeysPastTheDeadZone) {
  startKeys();
  VirtualPad& pad = plugIn();
  keyboard_update();
  struct {
    SDL_GameControllerAxis axis;
    int percent;
    Codes codes;
  } const halves[] = {
      {SDL_CONTROLLER_AXIS_LEFTX, -60, {SCANCODE_A}},
      {SDL_CONTROLLER_AXIS_LEFTX, 60, {SCANCODE_S}},
      {SDL_CONTROLLER_AXIS_LEFTY, -60, {SCANCODE_RIGHTSHIFT}},  // up
      {SDL_CONTROLLER_AXIS_LEFTY, 60, {}},
      {SDL_CONTROLLER_AXIS_RIGHTX, -60, {SCANCODE_CURSORLEFT}},
      {SDL_CONTROLLER_AXIS_RIGHTX, 60, {SCANCODE_CURSORRIGHT}},
  };
  for (const auto& [axis, percent, codes] : halves) {
    pad.stick(axis, percent);
    keyboard_update();
    EXPECT_EQ(heldCodes(), codes) << SDL_GameControllerGetStringForAxis(axis) << percent;
    pad.stick(axis, 0);
    keyboard_update();
    EXPECT_EQ(heldCodes(), Codes{});
  }
  pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 100);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{SCANCODE_ENTER});
  pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 100);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{});
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
