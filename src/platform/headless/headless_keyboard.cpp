#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/keyboard.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/script_player.h"

int keyboard_init() {
  headlessState().keyboardOpen = true;
  setDemoKeyChars(keyboard_keychar);
  return 0;
}

void keyboard_translatekeys(int mask) {
  scriptPlayer().translateCursorKeys = (mask & TRANSLATE_CURSORKEYS) != 0;
}

void keyboard_update() {
  HeadlessState& state = headlessState();
  if (++state.polls > state.pollLimit) {
    std::fprintf(stderr, "kravix-headless: the script was cut after %lld polls\n", state.pollLimit);
    std::exit(3);
  }
  ScriptPlayer& player = scriptPlayer();
  takeScriptPoll(player);
  recordDemoPoll(keyboard_keypressed, player.translateCursorKeys);
}

// The script's arrows are the cursor block, which reads as the keypad arrows
// once cursor-key translation is on.
int keyboard_keypressed(int scancode) {
  return scriptKeyHeld(scriptPlayer(), scancode);
}

void keyboard_close() {
  headlessState().keyboardOpen = false;
}

// The headless keyboard is a German one, unless the demo it plays was typed on another.
int keyboard_keychar(int scancode) {
  return scriptKeyChar(scriptPlayer(), scancode);
}

// Scripts hold the keys themselves; there are no bindings to stand aside.
void keyboard_typing(int /*on*/) {}

void headlessSetScriptFeeder(void (*feeder)()) {
  scriptPlayer().feeder = feeder;
}

long headlessPollCount() {
  return headlessState().polls;
}
bool headlessKeyboardOpen() {
  return headlessState().keyboardOpen;
}
bool headlessScriptDone() {
  return scriptPlayer().done;
}
