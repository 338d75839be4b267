// The ship in flight: steering with its build-up, drag, thrust and gravity,
// the camera with its dead band, the world's wrap by 2080 columns, the thrust
// sound switch and the exhaust; and the gun with its one-shot-per-press latch.
// The level loop runs stepShip while the ship is not destroyed and fireGun in
// every frame. Both read Controls and Settings and write LevelState; neither draws.
#pragma once

#include <cstdint>

extern float exhaustTimer;  // time units until the next pair of exhaust particles
extern uint8_t fireLatch;   // set by a shot, cleared while Enter is up

// Level start: the flight point at rest at (1200, 550), nose up, camera on it, timers cleared.
void placeShipAtStart();
void stepShip();
void fireGun();
