// Floor and ceiling turrets: 16x16 images that fire at the flight point when
// they are in view and the ship is on their open side, and die to one shot.
// The level builder fills the table, the level loop runs updateTurrets and
// drawTurrets each frame; shots destroy turrets. Turrets never move.
#pragma once

#include <cstdint>

struct Turret {
  int32_t x, y;    // top-left of the image, world pixels
  int32_t kind;    // 1 floor, 2 ceiling, 0 destroyed
  int32_t reload;  // countdown in tenths of a time unit
};

constexpr int kTurretSlots = 101;
constexpr int kFloorTurret = 1;
constexpr int kCeilingTurret = 2;

extern Turret turrets[kTurretSlots];
extern int lastTurret;

extern const uint8_t floorTurretSprite[256];

// The ceiling turret's image: the floor image turned by 180 degrees.
void makeCeilingSprite();
void updateTurrets();
void drawTurrets();
