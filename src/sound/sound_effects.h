// The game's side of sound: the sample table handed to SndMix, the one-shot
// effects on channels 1..3 in turn, and the looping thrust noise on channel 0.
// Called by start-up, the level loop, the explosions, the turrets and the options
// menu. Without a device the game runs silent and soundAvailable stays 0.
#pragma once

#include <cstdint>

#include "sound/sndmix.h"

constexpr int kEffectShipShot = 0;
constexpr int kEffectExplosion = 1;
constexpr int kEffectTurretShot = 2;

constexpr int kSampleCount = 5;  // thrust, explosion, ship shot, turret shot, silence
extern SampleEntry sampleTable[kSampleCount];

extern uint8_t soundAvailable;
extern uint8_t shipThrusting;  // set by the level loop while thrust is held
extern uint8_t thrustSoundOn;  // the thrust noise was started and not yet stopped
extern int8_t effectChannel;   // channel of the next one-shot effect, 1..3

void startSound();
void stopSound();
void playEffect(int kind);
void updateThrustSound();
// The thrust noise stops: the ship no longer thrusts as far as the sound knows.
void silenceThrust();
