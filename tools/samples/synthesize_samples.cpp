// Synthesizes the game's four sounds and writes them as a C++ source of
// records (a 32-bit little-endian length, then the bytes), compiled into the
// game. Unsigned 8-bit PCM at 5000 samples a second, centred on 128.
//   kravix-samples OUTPUT.cpp [--wav FOLDER]   (the WAV files are for listening)
// Everything is computed from fixed formulas and a fixed noise generator, so
// the output is the same on every build.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kRate = 5000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kNyquistGuard = 2400.0;  // harmonics stay below this

using Wave = std::vector<double>;
using Bytes = std::vector<uint8_t>;

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
  return static_cast<double>(i) / kRate;
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

// A tone rich in harmonics whose frequency follows `frequency(t)`; harmonics
// that would fold back above the Nyquist frequency are left out.
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
    phase += 2.0 * kPi * f / kRate;
  }
  return wave;
}

// Scales the wave so that its highest point lands exactly on `high` and its
// lowest exactly on `low` (each side of 128 scaled on its own), then rounds.
Bytes toBytes(const Wave& wave, int low, int high) {
  double peak = *std::max_element(wave.begin(), wave.end());
  double trough = -*std::min_element(wave.begin(), wave.end());
  Bytes bytes(wave.size());
  for (size_t i = 0; i < wave.size(); ++i) {
    double scaled = wave[i] >= 0 ? wave[i] / peak * (high - 128) : wave[i] / trough * (128 - low);
    bytes[i] = static_cast<uint8_t>(128 + std::lround(scaled));
  }
  return bytes;
}

// The ship's shot: a bright, fast falling chirp that dies away quickly.
Bytes shipShot() {
  const double harmonics[] = {1.0, 0.5, 0.33, 0.2};
  Wave wave = sweptTone(
      1796, [](double t) { return 320.0 + 1900.0 * std::exp(-t / 0.05); }, harmonics, 4);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] *= envelope(i, 30, 0.07);
  fadeOut(wave, 150);
  return toBytes(wave, 47, 193);
}

// The turret's shot: a lower, buzzing square sweep with noise, driven into clipping.
Bytes turretShot() {
  const size_t length = 1353;
  Noise noise{0x2545F491u};
  Wave wave(length);
  double phase = 0.0;
  for (size_t i = 0; i < length; ++i) {
    double t = seconds(i);
    double f = 150.0 + 650.0 * std::exp(-t / 0.045);
    double square = std::sin(phase) >= 0 ? 1.0 : -1.0;
    double driven = 2.6 * envelope(i, 20, 0.08) * (0.75 * square + 0.45 * noise.next());
    wave[i] = std::clamp(driven, -1.0, 1.0);
    phase += 2.0 * kPi * f / kRate;
  }
  fadeOut(wave, 120);
  return toBytes(wave, 0, 255);
}

// The explosion: noise that starts bright with a crackle, darkens and decays over the whole sound.
Bytes explosion() {
  const size_t length = 8264;
  Noise noise{0x9E3779B9u};
  Wave wave(length);
  double bright = 0.0, dark = 0.0;
  for (size_t i = 0; i < length; ++i) {
    double t = seconds(i);
    double progress = t / (length / kRate);
    double white = noise.next();
    double crackle = (noise.next() > 0.985 && t < 0.4) ? 3.0 * noise.next() : 0.0;
    double brightPole = 0.55 * std::exp(-t / 0.35) + 0.06;
    bright += brightPole * (white + crackle - bright);
    dark += 0.04 * (bright - dark);
    double body = 0.6 * bright + 2.2 * dark;
    wave[i] = body * envelope(i, 25, 0.7) * (1.0 - 0.7 * progress);
  }
  fadeOut(wave, 200);
  return toBytes(wave, 60, 213);
}

// The thrust: a low rumble built only from harmonics of its 1160-sample loop,
// so the loop's last byte runs on into its first without a step. It is turned
// to start at an upward zero crossing so that starting it does not click.
Bytes thrust() {
  const size_t loop = 1160;
  const double fundamental = kRate / loop;
  Noise noise{0x1B873593u};
  Wave cycle(loop, 0.0);
  for (int k = 1; k * fundamental < 900.0; ++k) {
    double f = k * fundamental;
    double highPass = (f / 35.0) * (f / 35.0) / (1.0 + (f / 35.0) * (f / 35.0));
    double lowPass = 1.0 / (1.0 + (f / 140.0) * (f / 140.0));
    double amplitude = highPass * lowPass;
    double phase = kPi * (noise.next() + 1.0);
    for (size_t i = 0; i < loop; ++i)
      cycle[i] += amplitude * std::sin(2.0 * kPi * f * i / kRate + phase);
  }
  size_t first = 0;
  for (size_t i = 0; i < loop; ++i) {
    if (cycle[i] <= 0.0 && cycle[(i + 1) % loop] > 0.0) {
      first = (i + 1) % loop;
      break;
    }
  }
  Wave wave(2 * loop);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = cycle[(first + i) % loop];
  return toBytes(wave, 100, 140);
}

void writeRecord(FILE* out, const char* name, const Bytes& bytes) {
  uint32_t length = static_cast<uint32_t>(bytes.size());
  std::fprintf(out, "const uint8_t %s[4 + %zu] = {\n    0x%02x, 0x%02x, 0x%02x, 0x%02x,", name,
               bytes.size(), length & 0xFF, length >> 8 & 0xFF, length >> 16 & 0xFF,
               length >> 24 & 0xFF);
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::fprintf(out, "%s%u,", i % 16 == 0 ? "\n    " : " ", bytes[i]);
  }
  std::fprintf(out, "\n};\n\n");
}

void writeLittleEndian(std::ofstream& out, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.put(static_cast<char>(value >> (8 * i) & 0xFF));
}

void writeWav(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  uint32_t size = static_cast<uint32_t>(bytes.size());
  out << "RIFF";
  writeLittleEndian(out, 36 + size, 4);
  out << "WAVEfmt ";
  writeLittleEndian(out, 16, 4);
  writeLittleEndian(out, 1, 2);  // PCM
  writeLittleEndian(out, 1, 2);  // mono
  writeLittleEndian(out, 5000, 4);
  writeLittleEndian(out, 5000, 4);
  writeLittleEndian(out, 1, 2);
  writeLittleEndian(out, 8, 2);
  out << "data";
  writeLittleEndian(out, size, 4);
  out.write(reinterpret_cast<const char*>(bytes.data()), size);
}

struct Sound {
  const char* name;
  const char* file;
  Bytes bytes;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--wav")) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp [--wav FOLDER]\n", argv[0]);
    return 2;
  }
  const Sound sounds[] = {{"shipShotRecord", "ship_shot", shipShot()},
                          {"turretShotRecord", "turret_shot", turretShot()},
                          {"explosionRecord", "explosion", explosion()},
                          {"thrustRecord", "thrust", thrust()}};
  FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "// Written by kravix-samples (tools/samples); do not edit.\n");
  std::fprintf(out, "#include \"sound/samples.h\"\n\n");
  for (const Sound& sound : sounds) writeRecord(out, sound.name, sound.bytes);
  bool written = std::fclose(out) == 0;
  if (argc == 4) {
    for (const Sound& sound : sounds)
      writeWav(std::string(argv[3]) + "/" + sound.file + ".wav", sound.bytes);
  }
  return written ? 0 : 1;
}
