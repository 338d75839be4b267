// Game controllers for the SDL2 keyboard: every controller SDL's database
// knows, opened as it is plugged in (before or during the game) and closed as
// it is pulled, when its inputs read as released. Buttons and axis halves are
// read from SDL's events; a stick or trigger counts as pressed past a dead zone
// with hysteresis, so one held half way neither flickers nor drifts.
#pragma once

#include <SDL2/SDL_events.h>

#include "platform/sdl/key_bindings.h"

// Starts SDL's game controllers once (again after closeGamepads); the
// controllers already plugged in then arrive as events.
void openGamepads();
void closeGamepads();
// Takes controller events (added, removed, buttons, axes); ignores the rest.
void takeGamepadEvent(const SDL_Event& event);
// At each keyboard update, before the events: forgets presses already read.
void startGamepadUpdate();
// Every input of every controller reads as released until it moves again.
void releaseGamepads();
// Held on any controller now, or pressed and released since the last update.
bool gamepadHolds(PadInput input);
int openGamepadCount();
