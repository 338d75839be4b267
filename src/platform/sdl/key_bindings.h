// The player's bindings: for each action of the game's key table, the keys
// (SDL scancodes) and gamepad inputs that hold its set-1 code. Read from and
// written to the keys file's text form: `action = key [key...]` lines with
// SDL's key names, `pad_action = input [input...]` with SDL's controller names.
// Pure: no SDL state, no files; the keys file and the keyboard use it.
#pragma once

#include <SDL2/SDL_scancode.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class Action : uint8_t {
  turnLeft,
  turnRight,
  thrust,
  fire,
  tag,
  escape,
  help,
  pause,
  screenshot,
  options,
  map,
  exhaust,
  quickExit,
};
constexpr int kActionCount = 13;

// A gamepad input: a button (SDL_GameControllerButton) or one half of an axis.
struct PadInput {
  enum Kind : uint8_t { kButton, kAxisPlus, kAxisMinus } kind;
  uint8_t index;  // SDL_GameControllerButton or SDL_GameControllerAxis
  bool operator==(const PadInput&) const = default;
};

constexpr int kMaxBoundInputs = 8;

struct ActionBinding {
  SDL_Scancode keys[kMaxBoundInputs];
  int keyCount;
  PadInput pad[kMaxBoundInputs];
  int padCount;
};

struct KeyBindings {
  ActionBinding actions[kActionCount];
};

struct BindingProblem {
  int line;
  std::string message;
};

// The set-1 code the game reads for an action.
int actionScanCode(Action action);
// The action whose set-1 code this is, or false.
bool actionOfScanCode(int scanCode, Action* action);

// The game's own keys and the default gamepad layout.
KeyBindings defaultKeyBindings();
// Applies the text's lines over `bindings`. A bad line adds one problem and
// changes nothing; so does a second line for an action. A key or input bound
// to two actions is kept and reported.
void readKeyBindings(std::string_view text, KeyBindings& bindings,
                     std::vector<BindingProblem>& problems);
// Every action's line, keys then gamepad, in the form readKeyBindings reads.
std::string writeKeyBindings(const KeyBindings& bindings);
