// The four built-in sounds, as they are stored: each record is a signed 32-bit
// length (little-endian) followed by that many bytes of unsigned 8-bit PCM at
// 5000 samples a second, centred on 128. The records are synthesized at build
// time by tools/samples; the game only reads them.
#pragma once

#include <cstdint>

extern const uint8_t shipShotRecord[];
extern const uint8_t turretShotRecord[];
extern const uint8_t explosionRecord[];
extern const uint8_t thrustRecord[];

int32_t recordLength(const uint8_t* record);
const uint8_t* recordBytes(const uint8_t* record);
