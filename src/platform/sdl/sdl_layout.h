// The player's keyboard layout for typing a name: the letter or digit printed
// on a key, from SDL's key for that key's scancode. The lookup can be replaced,
// so that a test can stand in a layout of its own. While a demo plays, the
// layout it was recorded in.
#pragma once

#include <SDL2/SDL_keyboard.h>

using KeyLookup = SDL_Keycode (*)(SDL_Scancode);

// SDL_GetKeyFromScancode unless a test has set another; nullptr restores it.
void setKeyLookup(KeyLookup lookup);
