// The player's keys and gamepads as the set-1 codes the game reads: a code of
// the game's key table is held while any key or gamepad input bound to its
// action is held. The d-pad's up and down and the right stick's halves also
// hold the cursor codes the menus read. While a name is typed, keys read as
// themselves and gamepads hold no letter keys.
#pragma once

#include <SDL2/SDL_scancode.h>

void takePlayerKey(SDL_Scancode key, bool down);
// At each update, before its events: forgets presses already read.
void startPlayerKeysUpdate();
void releasePlayerKeys();
// Whether the code reads as held; `ownKeyHeld` says whether the key with that
// code is held itself, which counts for codes of no action and while typing.
bool playerKeysHold(int scanCode, bool ownKeyHeld, bool typing);
