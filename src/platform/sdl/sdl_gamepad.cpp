#include "platform/sdl/sdl_gamepad.h"

#include <SDL2/SDL.h>

namespace {

// Past kAxisPressed a stick's half or a trigger reads as pressed, and it reads
// as released again only below kAxisReleased.
constexpr int kAxisPressed = 12000;  // 37 % of the travel
constexpr int kAxisReleased = 8000;  // 24 %
constexpr int kMaxGamepads = 8;

// Bits of the inputs held: buttons 0..31, then axis halves.
using InputBits = uint64_t;

struct Gamepad {
  SDL_GameController* controller;
  SDL_JoystickID id;
  InputBits held;
  InputBits pressedSinceUpdate;
};

Gamepad gamepads[kMaxGamepads];
bool opened = false;

InputBits bitOf(PadInput input) {
  if (input.kind == PadInput::kButton) return InputBits{1} << (input.index & 31);
  int half = 32 + 2 * (input.index & 15) + (input.kind == PadInput::kAxisMinus ? 1 : 0);
  return InputBits{1} << half;
}

Gamepad* findGamepad(SDL_JoystickID id) {
  for (Gamepad& pad : gamepads) {
    if (pad.controller && pad.id == id) return &pad;
  }
  return nullptr;
}

void addGamepad(int deviceIndex) {
  SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (findGamepad(id)) return;  // already open: SDL reports devices present at start-up too
  for (Gamepad& pad : gamepads) {
    if (pad.controller) continue;
    pad = Gamepad{SDL_GameControllerOpen(deviceIndex), id, 0, 0};
    return;
  }
}

void removeGamepad(SDL_JoystickID id) {
  if (Gamepad* pad = findGamepad(id)) {
    SDL_GameControllerClose(pad->controller);
    *pad = Gamepad{};
  }
}

void setInput(Gamepad& pad, InputBits bit, bool down) {
  if (down) {
    pad.held |= bit;
    pad.pressedSinceUpdate |= bit;
  } else {
    pad.held &= ~bit;
  }
}

// The half's dead zone with hysteresis: pressed beyond kAxisPressed, released
// below kAxisReleased, unchanged between.
void setAxisHalf(Gamepad& pad, PadInput half, int travel) {
  InputBits bit = bitOf(half);
  if (travel >= kAxisPressed && !(pad.held & bit)) setInput(pad, bit, true);
  if (travel < kAxisReleased && (pad.held & bit)) setInput(pad, bit, false);
}

void takeAxis(Gamepad& pad, const SDL_ControllerAxisEvent& motion) {
  int value = motion.value;
  setAxisHalf(pad, {PadInput::kAxisPlus, motion.axis}, value);
  setAxisHalf(pad, {PadInput::kAxisMinus, motion.axis}, -value);
}

}  // namespace

void openGamepads() {
  if (opened) return;
  opened = true;
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void closeGamepads() {
  for (Gamepad& pad : gamepads) {
    if (pad.controller) SDL_GameControllerClose(pad.controller);
    pad = Gamepad{};
  }
  if (opened) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  opened = false;
}

void takeGamepadEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      addGamepad(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      removeGamepad(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Gamepad* pad = findGamepad(event.cbutton.which)) {
        setInput(*pad, bitOf({PadInput::kButton, event.cbutton.button}),
                 event.type == SDL_CONTROLLERBUTTONDOWN);
      }
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (Gamepad* pad = findGamepad(event.caxis.which)) takeAxis(*pad, event.caxis);
      break;
    default:
      break;
  }
}

void startGamepadUpdate() {
  for (Gamepad& pad : gamepads) pad.pressedSinceUpdate = 0;
}

void releaseGamepads() {
  for (Gamepad& pad : gamepads) pad.held = pad.pressedSinceUpdate = 0;
}

bool gamepadHolds(PadInput input) {
  InputBits bit = bitOf(input);
  for (const Gamepad& pad : gamepads) {
    if (pad.controller && ((pad.held | pad.pressedSinceUpdate) & bit)) return true;
  }
  return false;
}

int openGamepadCount() {
  int count = 0;
  for (const Gamepad& pad : gamepads) count += pad.controller ? 1 : 0;
  return count;
}
