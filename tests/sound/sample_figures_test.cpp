// The built-in sounds as the game holds them: the length, range and ends each
// has always had, the explosion the loudest of the one-shot effects, the
// turret's shot no harsher than the ship's, and the thrust a steady low rumble
// whose loop runs on without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "sample_figures.h"
#include "sound/samples.h"

namespace {

struct Sound {
  const char* name;
  const uint8_t* record;
  int stored, low, high;
};

constexpr size_t k200ms = 1000, kLoop = 1160;

// A sine of `amplitude` around 128 at `hz`, `count` samples at 5000 a second.
std::vector<uint8_t> tone(double hz, double amplitude, size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<uint8_t>(
        std::lround(128 + amplitude * std::sin(2 * std::numbers::pi * hz * i / 5000)));
  return bytes;
}

TEST(SampleFigures, TheFiguresReadKnownWaves) {
  // 100 Hz and 1000 Hz fit whole periods into 1000 samples; 23 and 58 periods fill the loop.
  // Rounding to bytes adds harmonics: the centroid is read within 15 %.
  std::vector<uint8_t> low = tone(100, 120, 1000), high = tone(1000, 120, 1000);
  EXPECT_NEAR(soundRms(low.data(), low.size(), 1000), 120 / std::sqrt(2.0), 0.5);
  EXPECT_NEAR(soundRms(low.data(), low.size(), 50000), 120 / std::sqrt(2.0), 0.5) << "all there is";
  EXPECT_NEAR(spectralCentroid(low.data(), low.size()), 100, 15);
  EXPECT_NEAR(spectralCentroid(high.data(), high.size()), 1000, 150);
  const double loopHz = 5000.0 / kLoop;
  std::vector<uint8_t> loop = tone(23 * loopHz, 12, kLoop), above = tone(58 * loopHz, 12, kLoop);
  EXPECT_GT(bandShare(loop.data(), kLoop, 35, 140), 0.99);
  EXPECT_LT(bandShare(above.data(), kLoop, 35, 140), 0.01);
  EXPECT_LE(seamStep(loop.data(), kLoop), largestStep(loop.data(), kLoop));
  std::vector<uint8_t> broken(loop.begin(), loop.begin() + 1000);  // stops mid-period
  EXPECT_GT(seamStep(broken.data(), broken.size()), largestStep(broken.data(), broken.size()));
}

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
