// The figures the sample tool shapes the sounds by, on known waves, and the
// built-in sounds as the game holds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <tuple>
#include <vector>

#include "sample_figures.h"
#include "sound/samples.h"
#include "support/test_support.h"

namespace {

constexpr size_t kLoop = 1160;

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

// The four sounds pinned by digests of their stored bytes, with their lengths.
TEST(SampleFigures, TheSoundsKeepTheirBytes) {
  const std::tuple<const uint8_t*, int, uint64_t> sounds[] = {
      {shipShotRecord, 1796, 10698153966051884995u},
      {turretShotRecord, 1353, 262149252770017755u},
      {explosionRecord, 8264, 436232437472183067u},
      {thrustRecord, 2320, 13623707177337737945u}};
  for (const auto& [record, length, digest] : sounds) {
    ASSERT_EQ(recordLength(record), length);
    EXPECT_EQ(digestOf(recordBytes(record), length), digest) << length;
  }
}

}  // namespace
