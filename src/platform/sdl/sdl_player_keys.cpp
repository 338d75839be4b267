#include "platform/sdl/sdl_player_keys.h"

#include <algorithm>
#include <iterator>

#include "platform/keyboard.h"
#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_gamepad.h"

namespace {

constexpr int kLastNameKey = 50;  // M

bool keyHeld[SDL_NUM_SCANCODES];
bool keyPressedSinceUpdate[SDL_NUM_SCANCODES];

struct CursorInput {
  int scanCode;
  PadInput input;
};

// D-pad left and right turn the ship, which in the options menu also moves the
// selection; the turn speed's arrows go to the right stick so the two never meet.
constexpr CursorInput kCursorInputs[] = {
    {SCANCODE_CURSORUP, {PadInput::kButton, SDL_CONTROLLER_BUTTON_DPAD_UP}},
    {SCANCODE_CURSORDOWN, {PadInput::kButton, SDL_CONTROLLER_BUTTON_DPAD_DOWN}},
    {SCANCODE_CURSORLEFT, {PadInput::kAxisMinus, SDL_CONTROLLER_AXIS_RIGHTX}},
    {SCANCODE_CURSORRIGHT, {PadInput::kAxisPlus, SDL_CONTROLLER_AXIS_RIGHTX}},
};

bool anyKeyHeld(const ActionBinding& binding) {
  for (int i = 0; i < binding.keyCount; ++i) {
    SDL_Scancode key = binding.keys[i];
    if (keyHeld[key] || keyPressedSinceUpdate[key]) return true;
  }
  return false;
}

bool anyPadInputHeld(const ActionBinding& binding) {
  for (int i = 0; i < binding.padCount; ++i) {
    if (gamepadHolds(binding.pad[i])) return true;
  }
  return false;
}

bool cursorInputHeld(int scanCode) {
  for (const CursorInput& cursor : kCursorInputs) {
    if (cursor.scanCode == scanCode && gamepadHolds(cursor.input)) return true;
  }
  return false;
}

// The codes a name is typed with: a gamepad holding one would type a letter.
bool typesCharacter(int scanCode) {
  return scanCode >= SCANCODE_1 && scanCode <= kLastNameKey && scanCode != SCANCODE_ENTER;
}

}  // namespace

void takePlayerKey(SDL_Scancode key, bool down) {
  if (key <= SDL_SCANCODE_UNKNOWN || key >= SDL_NUM_SCANCODES) return;
  keyHeld[key] = down;
  if (down) keyPressedSinceUpdate[key] = true;
}

void startPlayerKeysUpdate() {
  std::fill(std::begin(keyPressedSinceUpdate), std::end(keyPressedSinceUpdate), false);
  startGamepadUpdate();
}

void releasePlayerKeys() {
  std::fill(std::begin(keyHeld), std::end(keyHeld), false);
  std::fill(std::begin(keyPressedSinceUpdate), std::end(keyPressedSinceUpdate), false);
  releaseGamepads();
}

bool playerKeysHold(int scanCode, bool ownKeyHeld, bool typing) {
  Action action;
  const ActionBinding* binding = nullptr;
  if (actionOfScanCode(scanCode, &action)) {
    binding = &playerKeyBindings().actions[static_cast<int>(action)];
  }
  bool padHolds = !(typing && typesCharacter(scanCode)) &&
                  ((binding && anyPadInputHeld(*binding)) || cursorInputHeld(scanCode));
  if (padHolds) return true;
  return binding && !typing ? anyKeyHeld(*binding) : ownKeyHeld;
}
