#include "platform/sdl/sdl_layout.h"

#include "platform/keyboard.h"
#include "platform/script/demo_session.h"
#include "platform/sdl/sdl_scancodes.h"

namespace {

KeyLookup keyLookup = SDL_GetKeyFromScancode;

}  // namespace

void setKeyLookup(KeyLookup lookup) {
  keyLookup = lookup ? lookup : SDL_GetKeyFromScancode;
}

int keyboard_keychar(int scancode) {
  if (demoPlaying()) return demoKeyChar(scancode);
  SDL_Scancode key = sdlScanCode(scancode);
  if (key == SDL_SCANCODE_UNKNOWN) return 0;
  SDL_Keycode symbol = keyLookup(key);
  if (symbol >= SDLK_a && symbol <= SDLK_z) return 'A' + (symbol - SDLK_a);
  if (symbol >= SDLK_0 && symbol <= SDLK_9) return symbol;
  return 0;
}
