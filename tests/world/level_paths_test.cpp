// Every level can be played through: a passage 32 pixels wide leads from the
// ship's start to the ball and from there up into the sky, with the gates at
// their narrowest and the turrets' images in the way.
#include <gtest/gtest.h>

#include "level_support.h"
#include "world/level_data.h"

namespace {

class LevelPlay : public testing::TestWithParam<int> {};

TEST_P(LevelPlay, HasAWidePathFromTheStartToTheBallAndOutToTheSky) {
  buildLevel(GetParam(), 1);
  const PathCheck path = findWidePath();
  EXPECT_TRUE(path.ballReached);
  EXPECT_TRUE(path.skyReached);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelPlay, testing::Range(0, kLevelCount),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Level" + std::to_string(info.param + 1);
                         });

TEST(WidePath, IsNotFoundWhenRockSealsTheStartFromTheBall) {
  // A lid over a room that holds the ball.
  const std::vector<int32_t> sealed = {0, 800, 2399, 807, 66,   0,   900, 2399, 2399, 66, 0,
                                       0, 0,   0,    0,   1000, 888, 0,   100,  884,  1};
  SwappedLevelTable swap(0, sealed);
  buildLevel(0, 1);
  EXPECT_FALSE(findWidePath().ballReached);
}

// The ball lies in a room under a floor with a hole of the given width.
bool ballReachedThroughAHole(int width) {
  const std::vector<int32_t> holed = {0,  800, 999,  807,  66,   1000 + width, 800, 2399, 807,
                                      66, 0,   900,  2399, 2399, 66,           0,   0,    0,
                                      0,  0,   1000, 888,  0,    100,          884, 1};
  SwappedLevelTable swap(0, holed);
  buildLevel(0, 1);
  return findWidePath().ballReached;
}

TEST(WidePath, PassesAHoleOf32PixelsButNotOf31) {
  EXPECT_TRUE(ballReachedThroughAHole(32));
  EXPECT_FALSE(ballReachedThroughAHole(31));
}

}  // namespace
