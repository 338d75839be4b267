// The built-in sounds as the game holds them: the length, range and ends each
// has always had, the explosion the loudest of the one-shot effects, the
// turret's shot no harsher than the ship's, and the thrust a steady low rumble
// whose loop runs on without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "sample_figures.h"
#include "sound/samples.h"

namespace {

struct Sound {
  const char* name;
  const uint8_t* record;
  int stored, low, high;
};

constexpr size_t k200ms = 1000, kLoop = 1160;

TEST(SampleFigures, TheSoundsKeepTheirShapeAndAreBalanced) {
  const Sound sounds[] = {{"ship shot", shipShotRecord, 1796, 47, 193},
                          {"turret shot", turretShotRecord, 1353, 0, 255},
                          {"explosion", explosionRecord, 8264, 60, 213},
                          {"thrust", thrustRecord, 2320, 100, 140}};
  auto atRest = [](int value) { return value == 127 || value == 128; };
  for (const Sound& sound : sounds) {
    const uint8_t* bytes = recordBytes(sound.record);
    ASSERT_EQ(recordLength(sound.record), sound.stored) << sound.name;
    auto [lowest, highest] = std::minmax_element(bytes, bytes + sound.stored);
    EXPECT_TRUE(*lowest == sound.low && *highest == sound.high) << sound.name;
    if (sound.record != thrustRecord) {
      EXPECT_TRUE(atRest(bytes[0]) && atRest(bytes[sound.stored - 1])) << sound.name;
    }
  }

  // Loudness over the first 200 ms; the turret's shot is neither louder nor brighter than the
  // ship's.
  auto loudness = [](const Sound& sound) {
    return soundRms(recordBytes(sound.record), sound.stored, k200ms);
  };
  auto brightness = [](const Sound& sound) {
    return spectralCentroid(recordBytes(sound.record), sound.stored);
  };
  const Sound &shot = sounds[0], &turretShot = sounds[1], &explosion = sounds[2];
  EXPECT_GT(loudness(explosion), 1.25 * loudness(shot));
  EXPECT_GT(loudness(explosion), 1.25 * loudness(turretShot));
  EXPECT_LE(loudness(turretShot), loudness(shot));
  EXPECT_LT(brightness(turretShot), brightness(shot));

  // The thrust loop: its energy in 35-140 Hz, as loud in each quarter as in
  // the whole, no larger step at the seam than inside, and a start near rest.
  const uint8_t* thrust = recordBytes(thrustRecord);
  EXPECT_GT(bandShare(thrust, kLoop, 35.0, 140.0), 0.95);
  double whole = soundRms(thrust, kLoop, kLoop);
  for (size_t quarter = 0; quarter < 4; ++quarter) {
    double part = soundRms(thrust + quarter * kLoop / 4, kLoop / 4, kLoop / 4);
    EXPECT_TRUE(part > 0.75 * whole && part < 1.25 * whole) << "quarter " << quarter;
  }
  EXPECT_LE(seamStep(thrust, kLoop), largestStep(thrust, kLoop));
  EXPECT_LE(std::abs(thrust[0] - 128), 2) << "starting the noise does not click";
}

}  // namespace
