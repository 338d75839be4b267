#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/keyboard.h"

namespace {

constexpr long kPollLimit = 1000000;

// At the end of the script, asks the feeder for more; true when it added some.
bool feedScript(HeadlessState& state) {
  if (!state.feeder) return false;
  state.script.clear();  // all used: a long fed run keeps only what it has not run yet
  state.nextCommand = 0;
  state.feeder();
  return !state.script.empty();
}

// Runs the commands that take no polls, then takes one poll of the current command.
void stepScript(HeadlessState& state) {
  while (state.nextCommand < state.script.size() || feedScript(state)) {
    const ScriptCommand& command = state.script[state.nextCommand];
    if (command.kind == ScriptCommand::kShot) {
      headlessWriteShot(command.name);
    } else if (command.kind == ScriptCommand::kClock) {
      state.frameMs = command.clockMs;
    } else if (state.pollsLeftInCommand == 0 && command.polls > 0) {
      state.pollsLeftInCommand = command.polls;
    }
    if (state.pollsLeftInCommand > 0) break;
    ++state.nextCommand;
  }
  std::fill(std::begin(state.held), std::end(state.held), false);
  if (state.nextCommand >= state.script.size()) {
    state.scriptDone = true;
    state.held[SCANCODE_F12] = true;
    return;
  }
  const ScriptCommand& command = state.script[state.nextCommand];
  for (int code : command.scancodes) state.held[code] = true;
  if (--state.pollsLeftInCommand == 0) ++state.nextCommand;
}

}  // namespace

int keyboard_init() {
  headlessState().keyboardOpen = true;
  return 0;
}

void keyboard_translatekeys(int mask) {
  headlessState().translateCursorKeys = (mask & TRANSLATE_CURSORKEYS) != 0;
}

void keyboard_update() {
  HeadlessState& state = headlessState();
  if (++state.polls > kPollLimit) {
    std::fprintf(stderr, "kravix-headless: the script was cut after %ld polls\n", kPollLimit);
    std::exit(3);
  }
  stepScript(state);
}

// The script's arrows are the cursor block, which reads as the keypad arrows
// once cursor-key translation is on.
int keyboard_keypressed(int scancode) {
  if (scancode < 0 || scancode >= 128) return 0;
  const HeadlessState& state = headlessState();
  constexpr int kKeypad[] = {SCANCODE_CURSORUP, SCANCODE_CURSORLEFT, SCANCODE_CURSORRIGHT,
                             SCANCODE_CURSORDOWN};
  constexpr int kBlock[] = {SCANCODE_CURSORBLOCKUP, SCANCODE_CURSORBLOCKLEFT,
                            SCANCODE_CURSORBLOCKRIGHT, SCANCODE_CURSORBLOCKDOWN};
  for (int i = 0; i < 4; ++i) {
    if (scancode == kBlock[i] && state.translateCursorKeys) return 0;
    if (scancode == kKeypad[i] && state.translateCursorKeys && state.held[kBlock[i]]) return 1;
  }
  return state.held[scancode] ? 1 : 0;
}

void keyboard_close() {
  headlessState().keyboardOpen = false;
}

// The headless keyboard is a German one: Z and Y change places against the US layout.
int keyboard_keychar(int scancode) {
  constexpr char kGermanLayout[] = "  1234567890    QWERTZUIOP    ASDFGHJKL     YXCVBNM";
  if (scancode < 0 || scancode >= static_cast<int>(sizeof kGermanLayout) - 1) return 0;
  char printed = kGermanLayout[scancode];
  return printed == ' ' ? 0 : printed;
}

// Scripts hold the keys themselves; there are no bindings to stand aside.
void keyboard_typing(int /*on*/) {}

void headlessSetScriptFeeder(void (*feeder)()) {
  headlessState().feeder = feeder;
}

long headlessPollCount() {
  return headlessState().polls;
}
bool headlessKeyboardOpen() {
  return headlessState().keyboardOpen;
}
bool headlessScriptDone() {
  return headlessState().scriptDone;
}
