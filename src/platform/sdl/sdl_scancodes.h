// SDL's physical key codes to the PC set-1 codes the game reads (Linux key
// codes above 88, as the console keyboard reports them). The cursor block
// reads as the keypad arrows once cursor-key translation is on.
#pragma once

#include <SDL2/SDL_scancode.h>

// 0 for keys the console keyboard had no code for.
int setOneScanCode(SDL_Scancode code, bool translateCursorKeys);
// The key with this set-1 code (the cursor block under its own codes), or SDL_SCANCODE_UNKNOWN.
SDL_Scancode sdlScanCode(int setOne);
