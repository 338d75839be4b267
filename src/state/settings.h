// The player's six options, changed in the options menu and with F5/F6,
// stored in the score file.
#pragma once

#include <cstdint>

struct Settings {
  uint8_t effectsOn;
  uint8_t speakerOn;  // kept and stored, no effect on play
  uint8_t debrisOn;   // thrust exhaust
  uint8_t mapOn;
  uint8_t statusLineFull;
  uint8_t turnSpeed;  // 30..70; turning scales by turnSpeed / 50
};

extern Settings settings;
