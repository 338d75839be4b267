#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/screen_checks.h"
#include "support/test_support.h"

namespace {

TEST(TitleEndToEnd, TheGameOpensOnTheTitleWithTheLogoFacingTheViewer) {
  std::string folder = makeTempFolder("title-first-frame");
  // The first poll waits for released keys, the second draws the first frame.
  RunResult run = runHeadless("wait 2\nshot first\n", folder);
  EXPECT_EQ(run.status, 0);
  std::vector<unsigned char> first = readShot(folder, "first");
  ASSERT_EQ(first.size(), 64000u + 768u);
  EXPECT_TRUE(bandShowsLogo(first.data(), 0));
  EXPECT_TRUE(showsText(first.data(), 20, 130, 14, "LINUX/SVGA VERSION  JUN 1998"));
  EXPECT_TRUE(showsText(first.data(), 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));
  EXPECT_TRUE(showsText(first.data(), 20, 190, 14, "                           "));  // silent
  const unsigned char* palette = first.data() + 64000;
  EXPECT_EQ(palette[222 * 3], 42);  // the red ramp: entry 180 + i is (i, 0, 0)
  EXPECT_EQ(palette[222 * 3 + 1], 0);
}

TEST(TitleEndToEnd, HoldingEnterSpinsTheLogoFaster) {
  std::string folder = makeTempFolder("title-enter");
  // From the second frame on Enter is held: frames 2-11 move the angle by 1, 2, ... 9
  // after the first frame's 1, so the eleventh frame shows angle 46.
  RunResult run = runHeadless("wait 2\nhold ENTER 10\nshot faster\n", folder);
  EXPECT_EQ(run.status, 0);
  std::vector<unsigned char> faster = readShot(folder, "faster");
  ASSERT_EQ(faster.size(), 64000u + 768u);
  EXPECT_TRUE(bandShowsLogo(faster.data(), 46));
  EXPECT_TRUE(
      showsText(faster.data(), 20, 150, 14, "SOUND WITH SNDMIX LIBRARY BY THE KRAVIX TEAM"));
}

TEST(TitleEndToEnd, EscapeOnTheTitleEndsTheProgram) {
  std::string folder = makeTempFolder("title-escape");
  RunResult run = runHeadless("wait 5\nhold ESC 1\nwait 10\nshot later\n", folder);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(readShot(folder, "later").empty());  // the program was gone by then
}

}  // namespace
