#include "platform/sdl/key_bindings.h"

#include <SDL2/SDL_gamecontroller.h>
#include <SDL2/SDL_keyboard.h>

#include <algorithm>
#include <cstring>

#include "platform/keyboard.h"

namespace {

struct ActionInfo {
  const char* name;
  int scanCode;
  SDL_Scancode key;
};

constexpr ActionInfo kActions[kActionCount] = {
    {"turn_left", SCANCODE_A, SDL_SCANCODE_A},
    {"turn_right", SCANCODE_S, SDL_SCANCODE_S},
    {"thrust", SCANCODE_RIGHTSHIFT, SDL_SCANCODE_RSHIFT},
    {"fire", SCANCODE_ENTER, SDL_SCANCODE_RETURN},
    {"tag", SCANCODE_SPACE, SDL_SCANCODE_SPACE},
    {"escape", SCANCODE_ESCAPE, SDL_SCANCODE_ESCAPE},
    {"help", SCANCODE_F1, SDL_SCANCODE_F1},
    {"pause", SCANCODE_F2, SDL_SCANCODE_F2},
    {"screenshot", SCANCODE_F3, SDL_SCANCODE_F3},
    {"options", SCANCODE_F4, SDL_SCANCODE_F4},
    {"map", SCANCODE_F5, SDL_SCANCODE_F5},
    {"exhaust", SCANCODE_F6, SDL_SCANCODE_F6},
    {"quick_exit", SCANCODE_F12, SDL_SCANCODE_F12},
};

constexpr char kPadPrefix[] = "pad_";

constexpr PadInput button(SDL_GameControllerButton b) {
  return {PadInput::kButton, static_cast<uint8_t>(b)};
}
constexpr PadInput axis(SDL_GameControllerAxis a, bool plus) {
  return {plus ? PadInput::kAxisPlus : PadInput::kAxisMinus, static_cast<uint8_t>(a)};
}

void bindPad(ActionBinding& binding, std::initializer_list<PadInput> inputs) {
  for (PadInput input : inputs) binding.pad[binding.padCount++] = input;
}

constexpr std::string_view kBlanks = " \t\r";

std::string_view trim(std::string_view text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Words split at blanks up to a comment (#); a word in double quotes may hold
// blanks or start with # ("Right Shift", "#").
bool splitWords(std::string_view text, std::vector<std::string>& words, std::string& why) {
  size_t at = 0;
  while ((at = text.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
    if (text[at] == '"') {
      size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) {
        why = "a quote is not closed";
        return false;
      }
      words.emplace_back(text.substr(at + 1, close - at - 1));
      at = close + 1;
    } else if (text[at] == '#') {
      return true;
    } else {
      size_t end = std::min(text.find_first_of(kBlanks, at), text.size());
      words.emplace_back(text.substr(at, end - at));
      at = end;
    }
  }
  return true;
}

bool isTrigger(int axisIndex) {
  return axisIndex == SDL_CONTROLLER_AXIS_TRIGGERLEFT ||
         axisIndex == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
}

// A button name, a stick's half (leftx- leftx+ ...) or a trigger (righttrigger).
bool parsePadInput(std::string name, PadInput& input) {
  SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(name.c_str());
  if (b != SDL_CONTROLLER_BUTTON_INVALID) {
    input = button(b);
    return true;
  }
  char sign = name.empty() ? '\0' : name.back();
  if (sign == '+' || sign == '-') {
    name.pop_back();
  } else {
    sign = '\0';
  }
  if (name.empty() || name[0] == '+' || name[0] == '-') return false;
  SDL_GameControllerAxis a = SDL_GameControllerGetAxisFromString(name.c_str());
  if (a == SDL_CONTROLLER_AXIS_INVALID) return false;
  if (isTrigger(a) ? sign == '-' : sign == '\0') return false;
  input = axis(a, sign != '-');
  return true;
}

std::string padInputName(PadInput input) {
  if (input.kind == PadInput::kButton) {
    const char* name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(input.index));
    return name ? name : "";
  }
  const char* name =
      SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(input.index));
  std::string text = name ? name : "";
  if (!isTrigger(input.index)) text += input.kind == PadInput::kAxisPlus ? "+" : "-";
  return text;
}

std::string keyName(SDL_Scancode key) {
  std::string name = SDL_GetScancodeName(key);
  bool plain = name.find(' ') == std::string::npos && name[0] != '#';
  return plain ? name : '"' + name + '"';
}

template <typename Input>
void addOnce(Input (&inputs)[kMaxBoundInputs], int& count, Input input) {
  if (std::find(inputs, inputs + count, input) == inputs + count) inputs[count++] = input;
}

// The inputs of one line into `binding`'s keys (or its gamepad inputs); false with why.
bool parseInputs(const std::vector<std::string>& words, bool pad, ActionBinding& binding,
                 std::string& why) {
  if (pad) binding.padCount = 0;
  if (!pad) binding.keyCount = 0;
  for (const std::string& word : words) {
    if ((pad ? binding.padCount : binding.keyCount) == kMaxBoundInputs) {
      why = "more than " + std::to_string(kMaxBoundInputs) + " keys for one action";
      return false;
    }
    PadInput input{};
    if (pad && parsePadInput(word, input)) {
      addOnce(binding.pad, binding.padCount, input);
      continue;
    }
    SDL_Scancode key = pad ? SDL_SCANCODE_UNKNOWN : SDL_GetScancodeFromName(word.c_str());
    if (key == SDL_SCANCODE_UNKNOWN) {
      why = std::string(pad ? "unknown gamepad input \"" : "unknown key \"") + word + '"';
      if (!pad && word.find('"') == std::string::npos)
        why += " (a name with blanks goes in quotes)";
      return false;
    }
    addOnce(binding.keys, binding.keyCount, key);
  }
  return true;
}

struct LineOutcome {
  int action = -1;
  bool pad = false;
};

// One line; on a fault, `why` says what is wrong and nothing has changed.
LineOutcome readLine(std::string_view line, KeyBindings& bindings, std::string& why) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    why = "expected \"action = key [key...]\"";
    return {};
  }
  std::string_view name = trim(line.substr(0, equals));
  LineOutcome outcome;
  outcome.pad = name.starts_with(kPadPrefix);
  if (outcome.pad) name.remove_prefix(std::strlen(kPadPrefix));
  for (int a = 0; a < kActionCount; ++a) {
    if (name == kActions[a].name) outcome.action = a;
  }
  if (outcome.action < 0) {
    why = "unknown action \"" + std::string(trim(line.substr(0, equals))) + '"';
    return {};
  }
  std::vector<std::string> words;
  ActionBinding binding = bindings.actions[outcome.action];
  if (!splitWords(line.substr(equals + 1), words, why) ||
      !parseInputs(words, outcome.pad, binding, why)) {
    return {};
  }
  bindings.actions[outcome.action] = binding;
  return outcome;
}

template <typename Input, typename Name>
void reportShared(const Input (&first)[kMaxBoundInputs], int firstCount,
                  const Input (&second)[kMaxBoundInputs], int secondCount, int line,
                  const std::string& actions, Name name, std::vector<BindingProblem>& problems) {
  for (int i = 0; i < firstCount; ++i) {
    if (std::find(second, second + secondCount, first[i]) != second + secondCount) {
      problems.push_back({line, name(first[i]) + " is bound to both " + actions});
    }
  }
}

// Keys and inputs bound to two actions, each reported at the later of the two lines.
void reportSharedInputs(const KeyBindings& bindings, const int (&keyLines)[kActionCount],
                        const int (&padLines)[kActionCount],
                        std::vector<BindingProblem>& problems) {
  for (int a = 0; a < kActionCount; ++a) {
    for (int b = a + 1; b < kActionCount; ++b) {
      const ActionBinding& one = bindings.actions[a];
      const ActionBinding& two = bindings.actions[b];
      std::string keys = std::string(kActions[a].name) + " and " + kActions[b].name;
      std::string pads =
          std::string(kPadPrefix) + kActions[a].name + " and " + kPadPrefix + kActions[b].name;
      reportShared(
          one.keys, one.keyCount, two.keys, two.keyCount, std::max(keyLines[a], keyLines[b]), keys,
          [](SDL_Scancode key) { return keyName(key); }, problems);
      reportShared(one.pad, one.padCount, two.pad, two.padCount, std::max(padLines[a], padLines[b]),
                   pads, padInputName, problems);
    }
  }
}

}  // namespace

int actionScanCode(Action action) {
  return kActions[static_cast<int>(action)].scanCode;
}

bool actionOfScanCode(int scanCode, Action* action) {
  for (int a = 0; a < kActionCount; ++a) {
    if (kActions[a].scanCode == scanCode) {
      *action = static_cast<Action>(a);
      return true;
    }
  }
  return false;
}

KeyBindings defaultKeyBindings() {
  KeyBindings bindings{};
  for (int a = 0; a < kActionCount; ++a) {
    bindings.actions[a].keys[0] = kActions[a].key;
    bindings.actions[a].keyCount = 1;
  }
  auto pad = [&bindings](Action action) -> ActionBinding& {
    return bindings.actions[static_cast<int>(action)];
  };
  bindPad(pad(Action::turnLeft),
          {button(SDL_CONTROLLER_BUTTON_DPAD_LEFT), axis(SDL_CONTROLLER_AXIS_LEFTX, false)});
  bindPad(pad(Action::turnRight),
          {button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), axis(SDL_CONTROLLER_AXIS_LEFTX, true)});
  bindPad(pad(Action::thrust),
          {button(SDL_CONTROLLER_BUTTON_A), button(SDL_CONTROLLER_BUTTON_DPAD_UP),
           axis(SDL_CONTROLLER_AXIS_LEFTY, false)});
  bindPad(pad(Action::fire),
          {button(SDL_CONTROLLER_BUTTON_B), axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, true),
           button(SDL_CONTROLLER_BUTTON_START)});
  bindPad(pad(Action::tag), {button(SDL_CONTROLLER_BUTTON_X)});
  bindPad(pad(Action::escape), {button(SDL_CONTROLLER_BUTTON_BACK)});
  bindPad(pad(Action::pause), {button(SDL_CONTROLLER_BUTTON_Y)});
  bindPad(pad(Action::map), {button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER)});
  bindPad(pad(Action::exhaust), {button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER)});
  return bindings;
}

void readKeyBindings(std::string_view text, KeyBindings& bindings,
                     std::vector<BindingProblem>& problems) {
  int keyLines[kActionCount] = {};
  int padLines[kActionCount] = {};
  int lineNumber = 0;
  while (!text.empty()) {
    size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    KeyBindings before = bindings;
    std::string why;
    LineOutcome outcome = readLine(line, bindings, why);
    if (outcome.action < 0) {
      problems.push_back({lineNumber, why + "; line skipped"});
      continue;
    }
    int& seenAt = (outcome.pad ? padLines : keyLines)[outcome.action];
    if (seenAt != 0) {
      bindings = before;
      problems.push_back({lineNumber, "a second line for " +
                                          std::string(outcome.pad ? "pad_" : "") +
                                          kActions[outcome.action].name + " (line " +
                                          std::to_string(seenAt) + " holds); line skipped"});
      continue;
    }
    seenAt = lineNumber;
  }
  reportSharedInputs(bindings, keyLines, padLines, problems);
}

std::string writeKeyBindings(const KeyBindings& bindings) {
  std::string text;
  for (int pad = 0; pad < 2; ++pad) {
    for (int a = 0; a < kActionCount; ++a) {
      const ActionBinding& binding = bindings.actions[a];
      text += std::string(pad ? kPadPrefix : "") + kActions[a].name + " =";
      for (int i = 0; i < (pad ? binding.padCount : binding.keyCount); ++i) {
        text += ' ' + (pad ? padInputName(binding.pad[i]) : keyName(binding.keys[i]));
      }
      text += '\n';
    }
  }
  return text;
}
