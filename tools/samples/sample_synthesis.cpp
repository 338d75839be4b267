#include "sample_synthesis.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "state/angles.h"

namespace {

constexpr double kNyquistGuard = 2400.0;  // harmonics stay below this

using Wave = std::vector<double>;

// A small fixed noise source (xorshift), uniform in -1..1.
struct Noise {
  uint32_t state;
  double next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 2147483647.5 - 1.0;
  }
};

double seconds(size_t i) {
  return static_cast<double>(i) / kSampleRate;
}

// The coefficient of a one-pole low-pass filter with the given corner.
double lowPassPole(double cornerHz) {
  return 1.0 - std::exp(-2.0 * kPi * cornerHz / kSampleRate);
}

// Rises over `attack` samples, then follows `decay` from there.
double envelope(size_t i, size_t attack, double decaySeconds) {
  double rise = i < attack ? static_cast<double>(i) / attack : 1.0;
  return rise * std::exp(-seconds(i) / decaySeconds);
}

// Brings the last `count` samples smoothly to rest, so the sound ends on silence.
void fadeOut(Wave& wave, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    double gain = 0.5 - 0.5 * std::cos(kPi * k / count);
    wave[wave.size() - 1 - k] *= gain;
  }
}

// A tone whose frequency follows `frequency(t)`; harmonics that would fold
// back above the Nyquist frequency are left out.
Wave sweptTone(size_t length, double (*frequency)(double), const double* harmonics, int count) {
  Wave wave(length);
  double phase = 0.0;
  for (size_t i = 0; i < length; ++i) {
    double f = frequency(seconds(i));
    double sum = 0.0;
    for (int h = 1; h <= count; ++h) {
      if (h * f < kNyquistGuard) sum += harmonics[h - 1] * std::sin(h * phase);
    }
    wave[i] = sum;
    phase += 2.0 * kPi * f / kSampleRate;
  }
  return wave;
}

// Maps 0..natural onto 0..limit: unchanged up to a knee, then bending smoothly
// (matching slope at the knee, flat at the end) to land exactly on `limit`.
double softLimit(double x, double natural, double limit) {
  if (natural <= limit) return x;
  double knee = std::max(2.0 * limit - natural, 0.0);
  if (x <= knee) return x;
  double u = (x - knee) / (natural - knee);
  return knee + (limit - knee) * (2.0 * u - u * u);
}

// One gain for both sides of 128: the side with more room for its peak lands
// on its limit exactly, the other side's few highest samples bend softly onto
// theirs. The wave is turned over if its peaks then need less bending.
SampleBytes toBytes(Wave wave, int low, int high) {
  const double roomUp = high - 128.0, roomDown = 128.0 - low;
  double up = *std::max_element(wave.begin(), wave.end());
  double down = -*std::min_element(wave.begin(), wave.end());
  auto overshoot = [&](double top, double bottom) {
    double gain = std::max(roomUp / top, roomDown / bottom);
    return std::max(gain * top / roomUp, gain * bottom / roomDown);
  };
  if (overshoot(down, up) < overshoot(up, down)) {
    for (double& v : wave) v = -v;
    std::swap(up, down);
  }
  const double gain = std::max(roomUp / up, roomDown / down);
  SampleBytes bytes(wave.size());
  for (size_t i = 0; i < wave.size(); ++i) {
    double v = gain * wave[i];
    double shaped =
        v >= 0 ? softLimit(v, gain * up, roomUp) : -softLimit(-v, gain * down, roomDown);
    bytes[i] = static_cast<uint8_t>(128 + std::lround(shaped));
  }
  return bytes;
}

// Keeps only the harmonics first..last of a wave that is one period long.
void keepHarmonics(Wave& cycle, int first, int last) {
  const size_t n = cycle.size();
  Wave kept(n, 0.0);
  for (int k = first; k <= last; ++k) {
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < n; ++i) {
      re += cycle[i] * std::cos(2.0 * kPi * k * i / n);
      im += cycle[i] * std::sin(2.0 * kPi * k * i / n);
    }
    for (size_t i = 0; i < n; ++i)
      kept[i] +=
          2.0 / n * (re * std::cos(2.0 * kPi * k * i / n) + im * std::sin(2.0 * kPi * k * i / n));
  }
  cycle.swap(kept);
}

double rootMeanSquare(const Wave& wave) {
  double sum = 0.0;
  for (double v : wave) sum += v * v;
  return std::sqrt(sum / wave.size());
}

}  // namespace

// A bright, fast falling chirp that dies away quickly.
SampleBytes synthesizeShipShot() {
  const double harmonics[] = {1.0, 0.5, 0.33, 0.2};
  Wave wave = sweptTone(
      1796, [](double t) { return 320.0 + 1900.0 * std::exp(-t / 0.05); }, harmonics, 4);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] *= envelope(i, 30, 0.1);
  fadeOut(wave, 150);
  return toBytes(wave, 47, 193);
}

// A lower, rounder falling tone with a breath of noise: a sharp start, then
// quickly quieter, and darker than the ship's own shot.
SampleBytes synthesizeTurretShot() {
  const size_t length = 1353;
  const double harmonics[] = {1.0, 0.3, 0.12};
  Wave wave = sweptTone(
      length, [](double t) { return 120.0 + 480.0 * std::exp(-t / 0.04); }, harmonics, 3);
  Noise noise{0x2545F491u};
  double breath = 0.0;
  for (size_t i = 0; i < length; ++i) {
    breath += lowPassPole(900.0) * (noise.next() - breath);
    wave[i] =
        (wave[i] + 0.5 * breath) * (0.55 * envelope(i, 20, 0.012) + 0.45 * envelope(i, 20, 0.05));
  }
  fadeOut(wave, 120);
  return toBytes(wave, 0, 255);
}

// Noise driven into saturation: a full, crackling blast that holds for a
// moment, darkens and dies away over the whole sound.
SampleBytes synthesizeExplosion() {
  const size_t length = 8264;
  Noise noise{0x9E3779B9u};
  Wave wave(length);
  double bright = 0.0, dark = 0.0, soft = 0.0;
  for (size_t i = 0; i < length; ++i) {
    double t = seconds(i);
    double crackle = (noise.next() > 0.985 && t < 0.4) ? 3.0 * noise.next() : 0.0;
    bright += lowPassPole(300.0 + 1500.0 * std::exp(-t / 0.3)) * (noise.next() + crackle - bright);
    dark += lowPassPole(120.0) * (bright - dark);
    double drive = 2.5 + 2.0 * std::exp(-t / 0.1);  // hardest at the blast
    double driven = std::tanh(drive * (bright + 1.5 * dark));
    soft += lowPassPole(800.0) * (driven - soft);
    double hold = t < 0.25 ? 1.0 : std::exp(-(t - 0.25) / 0.45);
    double rise = i < 25 ? static_cast<double>(i) / 25 : 1.0;
    wave[i] = soft * rise * hold;
  }
  fadeOut(wave, 200);
  return toBytes(wave, 60, 213);
}

// A low rumble made only of harmonics of its 1160-sample loop that lie between
// 35 and 140 Hz, so the loop's last byte runs on into its first without a
// step. Clipping to the record's uneven range and taking the band again, over
// and over, gives it that unevenness itself (deep troughs, flat crests) and an
// even loudness through the loop, so one gain fits it to the range without
// distorting it. It starts at an upward zero crossing, so starting it does not click.
SampleBytes synthesizeThrust() {
  const double fundamental = kSampleRate / kThrustLoop;
  const int first = static_cast<int>(std::ceil(35.0 / fundamental));
  const int last = static_cast<int>(std::floor(140.0 / fundamental));
  Noise noise{0x1B873593u};
  Wave cycle(kThrustLoop, 0.0);
  for (int k = first; k <= last; ++k) {
    double amplitude = 1.0 / std::sqrt(static_cast<double>(k));
    double phase = kPi * (noise.next() + 1.0);
    for (size_t i = 0; i < kThrustLoop; ++i)
      cycle[i] += amplitude * std::sin(2.0 * kPi * k * i / kThrustLoop + phase);
  }
  const double crest = 1.2, trough = 3.4;  // in units of the RMS
  for (int round = 0; round < 60; ++round) {
    double scale = 1.0 / rootMeanSquare(cycle);
    for (double& v : cycle) v = std::clamp(v * scale, -trough, crest);
    keepHarmonics(cycle, first, last);
  }
  size_t start = 0;
  while (start + 1 < kThrustLoop && !(cycle[start] <= 0.0 && cycle[start + 1] > 0.0)) ++start;
  Wave wave(2 * kThrustLoop);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = cycle[(start + 1 + i) % kThrustLoop];
  return toBytes(wave, 100, 140);
}
