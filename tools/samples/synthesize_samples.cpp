// Synthesizes the game's four sounds and writes them as a C++ source of
// records (a 32-bit little-endian length, then the bytes), compiled into the
// game; or reports how loud and how bright each one is.
//   kravix-samples OUTPUT.cpp [--wav FOLDER]   (the WAV files are for listening)
//   kravix-samples --report
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "sample_figures.h"
#include "sample_synthesis.h"

namespace {

struct Sound {
  const char* title;
  const char* name;
  const char* file;
  SampleBytes bytes;
  size_t played;  // the bytes the game plays: all, or the thrust's loop
};

void writeRecord(FILE* out, const char* name, const SampleBytes& bytes) {
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

void writeWav(const std::string& path, const SampleBytes& bytes) {
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

int writeRecords(const Sound (&sounds)[4], const char* path, const char* wavFolder) {
  FILE* out = std::fopen(path, "w");
  if (!out) {
    std::perror(path);
    return 1;
  }
  std::fprintf(out, "// Written by kravix-samples (tools/samples); do not edit.\n");
  std::fprintf(out, "#include \"sound/samples.h\"\n\n");
  for (const Sound& sound : sounds) writeRecord(out, sound.name, sound.bytes);
  bool written = std::fclose(out) == 0;
  if (wavFolder) {
    for (const Sound& sound : sounds)
      writeWav(std::string(wavFolder) + "/" + sound.file + ".wav", sound.bytes);
  }
  return written ? 0 : 1;
}

// The balance the sounds are shaped to: the explosion the loudest effect over its
// first 200 ms, the turret's shot no harsher (no louder, no brighter) than the
// ship's own, and the thrust a low rumble that loops without a click.
bool balanced(const Sound (&sounds)[4]) {
  auto rms200 = [](const Sound& s) { return soundRms(s.bytes.data(), s.played, 1000); };
  auto centroid = [](const Sound& s) { return spectralCentroid(s.bytes.data(), s.played); };
  const Sound &ship = sounds[0], &turret = sounds[1], &explosion = sounds[2];
  const uint8_t* thrust = sounds[3].bytes.data();
  bool verdicts[] = {rms200(explosion) > std::max(rms200(ship), rms200(turret)),
                     rms200(turret) <= rms200(ship) && centroid(turret) <= centroid(ship),
                     bandShare(thrust, kThrustLoop, 35.0, 140.0) >= 0.95 &&
                         seamStep(thrust, kThrustLoop) <= largestStep(thrust, kThrustLoop)};
  const char* rules[] = {"the explosion is the loudest effect",
                         "the turret shot is no harsher than the ship's",
                         "the thrust is a low rumble that loops cleanly"};
  bool all = true;
  for (int i = 0; i < 3; ++i) {
    std::printf("%-48s %s\n", rules[i], verdicts[i] ? "yes" : "NO");
    all = all && verdicts[i];
  }
  return all;
}

// Loudness over the first 200 ms (1000 bytes) and over all that is played,
// brightness of what is played; for the thrust, its band and its loop's seam.
// False when the sounds are out of balance.
bool report(const Sound (&sounds)[4]) {
  std::printf("%-12s %6s %9s %6s %9s %9s %10s\n", "sound", "bytes", "range", "ends", "rms200ms",
              "rms-all", "centroid");
  for (const Sound& sound : sounds) {
    const uint8_t* bytes = sound.bytes.data();
    auto [lowest, highest] = std::minmax_element(sound.bytes.begin(), sound.bytes.end());
    std::printf("%-12s %6zu %4d..%-3d %3d/%-3d %9.1f %9.1f %7.0f Hz\n", sound.title,
                sound.bytes.size(), *lowest, *highest, bytes[0], sound.bytes.back(),
                soundRms(bytes, sound.played, 1000), soundRms(bytes, sound.played, sound.played),
                spectralCentroid(bytes, sound.played));
  }
  const SampleBytes& thrust = sounds[3].bytes;
  std::printf(
      "thrust loop  %zu bytes: %.1f %% of its energy in 35-140 Hz, seam step %d "
      "(largest step inside %d), first byte %d\n",
      kThrustLoop, 100.0 * bandShare(thrust.data(), kThrustLoop, 35.0, 140.0),
      seamStep(thrust.data(), kThrustLoop), largestStep(thrust.data(), kThrustLoop), thrust[0]);
  return balanced(sounds);
}

int usage(FILE* to, const char* program) {
  std::fprintf(to,
               "usage: %s OUTPUT.cpp [--wav FOLDER]\n"
               "       %s --report\n"
               "Writes the game's four sounds as a C++ source of records (and as WAV files\n"
               "for listening), or reports each sound's loudness and brightness and whether\n"
               "they keep their balance (status 1 when not).\n",
               program, program);
  return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return usage(stdout, argv[0]);
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("kravix-samples 1.0\n");
    return 0;
  }
  bool reporting = argc == 2 && std::strcmp(argv[1], "--report") == 0;
  bool writing = (argc == 2 && argv[1][0] != '-') ||
                 (argc == 4 && argv[1][0] != '-' && std::strcmp(argv[2], "--wav") == 0);
  if (!reporting && !writing) return usage(stderr, argv[0]);
  SampleBytes thrust = synthesizeThrust();
  const Sound sounds[4] = {
      {"ship shot", "shipShotRecord", "ship_shot", synthesizeShipShot(), 1796},
      {"turret shot", "turretShotRecord", "turret_shot", synthesizeTurretShot(), 1353},
      {"explosion", "explosionRecord", "explosion", synthesizeExplosion(), 8264},
      {"thrust", "thrustRecord", "thrust", thrust, kThrustLoop}};
  if (reporting) return report(sounds) ? 0 : 1;
  return writeRecords(sounds, argv[1], argc == 4 ? argv[3] : nullptr);
}
