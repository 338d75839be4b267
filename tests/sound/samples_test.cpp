// The four built-in sounds: their stored shape, and that they sound like what they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sound/samples.h"

namespace {

struct Sound {
  const uint8_t* bytes;
  size_t length;
};

Sound soundOf(const uint8_t* record) {
  return Sound{recordBytes(record), static_cast<size_t>(recordLength(record))};
}

double rms(Sound sound, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += (sound.bytes[i] - 128.0) * (sound.bytes[i] - 128.0);
  return std::sqrt(sum / static_cast<double>(to - from));
}

// Steps across 128 per second, at 5000 samples a second: a rough measure of pitch.
double crossingsPerSecond(Sound sound, size_t from, size_t to) {
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) {
    crossings += (sound.bytes[i - 1] - 128) * (sound.bytes[i] - 128) < 0;
  }
  return crossings * 5000.0 / static_cast<double>(to - from);
}

void expectStoredShape(Sound sound, size_t length, int low, int high) {
  ASSERT_EQ(sound.length, length);
  auto [lowest, highest] = std::minmax_element(sound.bytes, sound.bytes + length);
  EXPECT_EQ(*lowest, low);
  EXPECT_EQ(*highest, high);
}

bool atRest(uint8_t value) {
  return value == 127 || value == 128;
}

TEST(Samples, EachRecordHasItsLengthAndRange) {
  expectStoredShape(soundOf(shipShotRecord), 1796, 47, 193);
  expectStoredShape(soundOf(turretShotRecord), 1353, 0, 255);
  expectStoredShape(soundOf(explosionRecord), 8264, 60, 213);
  expectStoredShape(soundOf(thrustRecord), 2320, 100, 140);
}

TEST(Samples, TheOneShotsBeginAndEndAtRest) {
  for (const uint8_t* record : {shipShotRecord, turretShotRecord, explosionRecord}) {
    Sound sound = soundOf(record);
    EXPECT_TRUE(atRest(sound.bytes[0]));
    EXPECT_TRUE(atRest(sound.bytes[sound.length - 1]));
  }
}

TEST(Samples, TheThrustLoopRunsOnFromItsLastByteIntoItsFirstWithoutAStep) {
  Sound thrust = soundOf(thrustRecord);
  const size_t loop = thrust.length / 2;
  int largestStep = 0;
  for (size_t i = 1; i < loop; ++i)
    largestStep = std::max(largestStep, std::abs(thrust.bytes[i] - thrust.bytes[i - 1]));
  EXPECT_LE(std::abs(thrust.bytes[0] - thrust.bytes[loop - 1]), largestStep);
  EXPECT_LE(std::abs(thrust.bytes[0] - 128), 2) << "starting the noise does not click";
}

TEST(Samples, TheShipShotIsShortAndBright) {
  Sound shot = soundOf(shipShotRecord);
  EXPECT_GT(crossingsPerSecond(shot, 0, 500), 1000.0);
  EXPECT_LT(rms(shot, 900, 1796), rms(shot, 0, 450) / 8) << "most of it is over in 0.1 s";
}

TEST(Samples, TheTurretShotIsHarsh) {
  Sound shot = soundOf(turretShotRecord);
  size_t driven = std::count_if(shot.bytes, shot.bytes + shot.length,
                                [](uint8_t v) { return v == 0 || v == 255; });
  EXPECT_GT(driven, shot.length / 8) << "an eighth of it is driven into the rails";
  EXPECT_LT(crossingsPerSecond(shot, 0, 500), crossingsPerSecond(soundOf(shipShotRecord), 0, 500));
}

TEST(Samples, TheExplosionIsNoiseThatDecaysOverItsWholeLength) {
  Sound blast = soundOf(explosionRecord);
  const size_t tenth = blast.length / 10;
  for (int part = 1; part < 10; ++part) {
    EXPECT_LT(rms(blast, part * tenth, (part + 1) * tenth),
              rms(blast, (part - 1) * tenth, part * tenth))
        << "tenth " << part;
  }
  EXPECT_GT(rms(blast, 6 * tenth, 7 * tenth), 1.0) << "still heard late in its 1.65 s";
  EXPECT_GT(crossingsPerSecond(blast, 0, tenth), 300.0);
}

TEST(Samples, TheThrustIsALowRumble) {
  Sound thrust = soundOf(thrustRecord);
  double pitch = crossingsPerSecond(thrust, 0, thrust.length / 2);
  EXPECT_GT(pitch, 40.0);
  EXPECT_LT(pitch, 200.0);
}

}  // namespace
