// Held keys from SDL's key events, by set-1 code. Closing the window, SIGINT
// and SIGTERM (which SDL turns into a quit event) hold F12 from then on, so
// the game takes its ordinary way out. Losing focus releases every key. A key
// pressed and released between two updates still reads as held for one update,
// so a quick tap is never lost. The player's key bindings and gamepads come in
// through the player's keys, which also hold the codes of the game's actions.
#include <algorithm>
#include <iterator>

#include "platform/keyboard.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/demo_session.h"
#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_player_keys.h"
#include "platform/sdl/sdl_scancodes.h"
#include "platform/sdl/sdl_window.h"

namespace {

bool held[128];
bool pressedSinceUpdate[128];
bool translateCursorKeys = false;
bool quitting = false;
bool typing = false;

void releaseAll() {
  std::fill(std::begin(held), std::end(held), false);
  std::fill(std::begin(pressedSinceUpdate), std::end(pressedSinceUpdate), false);
  releasePlayerKeys();
}

void takeKey(const SDL_KeyboardEvent& key) {
  if (key.repeat) return;
  bool down = key.type == SDL_KEYDOWN;
  if (down && key.keysym.scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT)) {
    toggleFullscreen();
    return;
  }
  takePlayerKey(key.keysym.scancode, down);
  int code = setOneScanCode(key.keysym.scancode, translateCursorKeys);
  if (code <= 0 || code >= 128) return;
  held[code] = down;
  if (down) pressedSinceUpdate[code] = true;
}

void takeEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      quitting = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      takeKey(event.key);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) releaseAll();
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) quitting = true;
      break;
    default:
      takeGamepadEvent(event);
      break;
  }
}

// The keys as the player holds them, bindings and gamepads included, whether
// or not a demo plays.
int liveKeyPressed(int scancode) {
  if (scancode == SCANCODE_F12 && quitting) return 1;
  if (scancode < 0 || scancode >= 128) return 0;
  bool ownKeyHeld = held[scancode] || pressedSinceUpdate[scancode];
  return playerKeysHold(scancode, ownKeyHeld, typing) ? 1 : 0;
}

}  // namespace

int keyboard_init() {
  playerKeyBindings();  // problems with the keys file are told now, not in the first frame
  setDemoKeyChars(keyboard_keychar);
  releaseAll();
  return 0;
}

void keyboard_translatekeys(int mask) {
  translateCursorKeys = (mask & TRANSLATE_CURSORKEYS) != 0;
}

void keyboard_update() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  attendWindowAtPoll();
  std::fill(std::begin(pressedSinceUpdate), std::end(pressedSinceUpdate), false);
  startPlayerKeysUpdate();
  openGamepads();  // at the first update, once the first picture is up: it takes a while
  SDL_Event event;
  while (SDL_PollEvent(&event)) takeEvent(event);
  takeDemoPoll(liveKeyPressed, translateCursorKeys);
}

int keyboard_keypressed(int scancode) {
  return demoPlaying() ? demoKeyHeld(scancode) : liveKeyPressed(scancode);
}

void keyboard_close() {
  releaseAll();
  closeGamepads();
}

void keyboard_typing(int on) {
  typing = on != 0;
}
