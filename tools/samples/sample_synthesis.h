// The game's four sounds, synthesized from fixed formulas and a fixed noise
// generator, so that every build yields the same bytes. Unsigned 8-bit PCM at
// 5000 samples a second, centred on 128, each with the length and the lowest
// and highest byte the game's sound set has always had. The thrust record holds
// its 1160-byte loop twice; only the first copy is played.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using SampleBytes = std::vector<uint8_t>;

constexpr double kSampleRate = 5000.0;
constexpr size_t kThrustLoop = 1160;

SampleBytes synthesizeShipShot();
SampleBytes synthesizeTurretShot();
SampleBytes synthesizeExplosion();
SampleBytes synthesizeThrust();
