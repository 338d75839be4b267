// The built-in sounds as the game holds them, pinned by digests of their
// stored bytes, with their lengths.
#include <gtest/gtest.h>

#include <tuple>

#include "sound/samples.h"
#include "support/test_support.h"

namespace {

TEST(Samples, TheSoundsKeepTheirBytes) {
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
