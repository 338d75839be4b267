#include "platform/sdl/frame_pacer.h"

#include <gtest/gtest.h>

namespace {

TEST(FramePacer, PresentsFollowDeadlinesOnePeriodApartAndStartAfreshAfterAStall) {
  FramePacer pacer;
  const uint64_t start = 5'000'000'000;
  EXPECT_EQ(takePresentTime(pacer, start), start);  // the first presents at once
  // Early frames wait for their deadline; a slightly late one presents at once
  // (its deadline has passed) and the next deadline stays where it was, so the average rate holds.
  EXPECT_EQ(takePresentTime(pacer, start + 1'000'000), start + kPacerPeriod);
  uint64_t late = start + 2 * kPacerPeriod + kPacerStallLimit / 2;
  EXPECT_EQ(takePresentTime(pacer, late), start + 2 * kPacerPeriod);
  EXPECT_EQ(takePresentTime(pacer, late + 1'000), start + 3 * kPacerPeriod);
  // After a stall the schedule is anchored at the stalled present, without a rush to catch up.
  uint64_t stalled = start + 10 * kPacerPeriod;
  EXPECT_EQ(takePresentTime(pacer, stalled), stalled);
  EXPECT_EQ(takePresentTime(pacer, stalled + 1'000), stalled + kPacerPeriod);
}

}  // namespace
