// Placeholder until the generated level tables land: level 1's opening rows
// with its ball and turret, used for all eight levels.
#include "world/level_data.h"

namespace {

constexpr int32_t kPlaceholder[] = {
    1520, 624, 1623, 631, 43,   680, 632,  783, 639,  43,  1344, 632,  1703, 639, 43, 552,
    640,  847, 647,  43,  1232, 640, 1767, 647, 43,   0,   648,  2399, 655,  43,  0,  656,
    2399, 663, 43,   0,   0,    0,   0,    0,   1140, 636, 0,    1000, 632,  1,
};

constexpr LevelTable kTable = {kPlaceholder, sizeof kPlaceholder / sizeof kPlaceholder[0]};

}  // namespace

LevelTable levelTables[kLevelCount] = {kTable, kTable, kTable, kTable,
                                       kTable, kTable, kTable, kTable};
