// Gamepads on the SDL2 keyboard: SDL's virtual joystick under the dummy video
// driver, read back through keyboard_keypressed as the game reads keys.
#include <functional>
#include <tuple>
#include <vector>

#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_gamepad.h"
#include "sdl_session.h"

namespace {

// A game controller made with SDL's virtual joystick: every button and axis of
// SDL's controller layout, in that order, so SDL maps it as a controller.
struct VirtualPad {
  SDL_Joystick* joystick = nullptr;
  SDL_JoystickID id = -1;

  // Plugs the pad in, triggers at rest. Needs SDL's joystick subsystem.
  void plugIn() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = "Kravix test pad";
    int device = SDL_JoystickAttachVirtualEx(&desc);
    joystick = SDL_JoystickOpen(device);
    id = SDL_JoystickInstanceID(joystick);
    trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0);
    trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  }
  void pull() {
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
      if (SDL_JoystickGetDeviceInstanceID(device) == id) {
        SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(device);
      }
    }
    joystick = nullptr;
  }
  void press(SDL_GameControllerButton button, bool down) const {
    SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
  }
  // A stick's axis at `percent` of its travel, -100 to 100.
  void stick(SDL_GameControllerAxis axis, int percent) const {
    SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(percent * 32767 / 100));
  }
  // A trigger pulled `percent` of its way: the joystick's whole range is the trigger's.
  void trigger(SDL_GameControllerAxis axis, int percent) const {
    SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(-32768 + percent * 65535 / 100));
  }
};

// Keys start in each test, so that a pad can be plugged in before.
class Gamepad : public SdlSession {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", "/nonexistent", 1);  // the default bindings
    forgetPlayerKeyBindings();
    // The dummy driver's window never has focus, which would hold back pad events.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
  }
  void TearDown() override {
    for (VirtualPad& pad : pads) {
      if (pad.joystick) pad.pull();
    }
    SdlSession::TearDown();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualPad& plugIn() {
    pads.emplace_back().plugIn();
    return pads.back();
  }

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
  auto holdsWhileDown = [](const std::function<void(bool)>& move, const Codes& codes) {
    move(true);
    keyboard_update();
    keyboard_update();
    EXPECT_EQ(heldCodes(), codes) << "still down";
    move(false);
    keyboard_update();
    EXPECT_EQ(heldCodes(), Codes{}) << "let go";
  };
  // In SDL's order: A, B, X, Y, back, guide, start, the sticks, the shoulders, the d-pad.
  constexpr int kNone = 0;
  const int buttons[] = {SCANCODE_RIGHTSHIFT, SCANCODE_ENTER,  SCANCODE_SPACE,
                         SCANCODE_F2,         SCANCODE_ESCAPE, kNone,
                         SCANCODE_ENTER,      kNone,           kNone,
                         SCANCODE_F5,         SCANCODE_F6,     SCANCODE_RIGHTSHIFT,
                         SCANCODE_CURSORDOWN, SCANCODE_A,      SCANCODE_S};
  for (int b = 0; b < static_cast<int>(std::size(buttons)); ++b) {
    SCOPED_TRACE(b);
    Codes codes = buttons[b] != kNone ? Codes{buttons[b]} : Codes{};
    if (b == SDL_CONTROLLER_BUTTON_DPAD_UP) codes.push_back(SCANCODE_CURSORUP);  // the menus' too
    holdsWhileDown([&](bool on) { pad.press(static_cast<SDL_GameControllerButton>(b), on); },
                   codes);
  }
  // A stick's half pushed 60 % of its way, a trigger pulled all the way.
  const std::tuple<SDL_GameControllerAxis, int, Codes> axes[] = {
      {SDL_CONTROLLER_AXIS_LEFTX, -60, {SCANCODE_A}},
      {SDL_CONTROLLER_AXIS_LEFTX, 60, {SCANCODE_S}},
      {SDL_CONTROLLER_AXIS_LEFTY, -60, {SCANCODE_RIGHTSHIFT}},
      {SDL_CONTROLLER_AXIS_LEFTY, 60, {}},
      {SDL_CONTROLLER_AXIS_RIGHTX, -60, {SCANCODE_CURSORLEFT}},
      {SDL_CONTROLLER_AXIS_RIGHTX, 60, {SCANCODE_CURSORRIGHT}},
      {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 100, {SCANCODE_ENTER}},
      {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 100, {}}};
  for (const auto& [axis, percent, codes] : axes) {
    SCOPED_TRACE(std::to_string(axis) + " at " + std::to_string(percent));
    holdsWhileDown(
        [&pad, axis = axis, percent = percent](bool on) {
          if (axis >= SDL_CONTROLLER_AXIS_TRIGGERLEFT)
            pad.trigger(axis, on ? percent : 0);
          else
            pad.stick(axis, on ? percent : 0);
        },
        codes);
  }
}

TEST_F(Gamepad, AStickHeldHalfWayTurnsSteadilyATapReadsOnceAndTypingThePadTypesNoLetters) {
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
  EXPECT_FALSE(turnsAt(30));  // only a large return releases it
  pad.press(SDL_CONTROLLER_BUTTON_B, true);
  SDL_PumpEvents();  // SDL sees the press; the game has not polled yet
  pad.press(SDL_CONTROLLER_BUTTON_B, false);
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_ENTER));
  keyboard_update();
  EXPECT_FALSE(keyboard_keypressed(SCANCODE_ENTER));
  keyboard_typing(1);  // the pad still ends the entry
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  pad.press(SDL_CONTROLLER_BUTTON_START, true);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{SCANCODE_ENTER});
  keyboard_typing(0);
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_ENTER, SCANCODE_A}));
}

TEST_F(Gamepad, PadsPluggedInMidGameHoldTheirKeysApartAndPulledOutReleaseThem) {
  startKeys();
  EXPECT_EQ(openGamepadCount(), 0);
  pads.reserve(3);
  VirtualPad& one = plugIn();
  VirtualPad& two = plugIn();
  keyboard_update();
  EXPECT_EQ(openGamepadCount(), 2);
  one.press(SDL_CONTROLLER_BUTTON_A, true);
  two.press(SDL_CONTROLLER_BUTTON_A, true);
  two.stick(SDL_CONTROLLER_AXIS_LEFTX, -80);
  keyboard_update();
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_A, SCANCODE_RIGHTSHIFT}));
  one.press(SDL_CONTROLLER_BUTTON_A, false);
  keyboard_update();
  EXPECT_EQ(heldCodes(), (Codes{SCANCODE_A, SCANCODE_RIGHTSHIFT}));  // the second still holds
  two.pull();
  keyboard_update();
  EXPECT_EQ(openGamepadCount(), 1);
  EXPECT_EQ(heldCodes(), Codes{});
  VirtualPad& again = plugIn();  // and back
  keyboard_update();
  again.press(SDL_CONTROLLER_BUTTON_X, true);
  keyboard_update();
  EXPECT_EQ(heldCodes(), Codes{SCANCODE_SPACE});
}

}  // namespace
