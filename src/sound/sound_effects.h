// The game's side of sound: the sample table handed to SndMix, the one-shot
// effects on channels 1..3 in turn, and the looping thrust noise on channel 0.
// Without a device the game runs silent and soundAvailable stays 0.
#pragma once

#include <cstdint>

constexpr int kEffectShipShot = 0;
constexpr int kEffectExplosion = 1;
constexpr int kEffectTurretShot = 2;

extern uint8_t soundAvailable;
extern uint8_t shipThrusting;  // set by the level loop while thrust is held

void startSound();
void stopSound();
void playEffect(int kind);
void updateThrustSound();
