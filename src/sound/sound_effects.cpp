#include "sound/sound_effects.h"

uint8_t soundAvailable = 0;
uint8_t shipThrusting = 0;

// Placeholders until sound lands: the game runs silent.
void startSound() {}
void stopSound() {}
void playEffect(int /*kind*/) {}
void updateThrustSound() {}
