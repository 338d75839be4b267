// Figures that describe how a sound is heard, computed from its bytes
// (unsigned 8-bit, centred on 128, 5000 samples a second): loudness as the RMS
// distance from 128, brightness as the spectral centroid, the share of a
// loop's energy inside a band, and the steps at a loop's seam.
#pragma once

#include <cstddef>
#include <cstdint>

// RMS of (byte - 128) over the first `count` bytes (all of them if fewer).
double soundRms(const uint8_t* bytes, size_t length, size_t count);
// The spectrum's mean frequency in Hz, weighted by magnitude.
double spectralCentroid(const uint8_t* bytes, size_t length);
// The share (0..1) of the energy of `length` bytes, taken as one period of a
// loop, that lies between lowHz and highHz.
double bandShare(const uint8_t* bytes, size_t length, double lowHz, double highHz);
// The step from a loop's last byte back to its first, and the largest step inside it.
int seamStep(const uint8_t* bytes, size_t length);
int largestStep(const uint8_t* bytes, size_t length);
