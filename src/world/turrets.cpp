#include "world/turrets.h"

Turret turrets[kTurretSlots];
int lastTurret;
uint8_t ceilingTurretSprite[256];

// Placeholder until the turrets land.
void makeCeilingSprite() {}
void updateTurrets() {}
void drawTurrets() {}
