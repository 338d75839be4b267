// The screens that the keys open in flight, in whole runs of kravix-headless:
// help on F1, the options menu on F4 with the map switched on there, and a
// screenshot on F3 written into the working folder.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "script_building.h"
#include "shot_reading.h"
#include "support/test_support.h"

namespace {

// The overview map's frame, colour 3, from (249, 4) to (311, 46).
constexpr int kMapLeft = 249, kMapTop = 4, kMapRight = 311, kMapBottom = 46;

int mapFramePixels(const ShotPixels& shot) {
  return countColoursIn(shot, kMapLeft, kMapTop, kMapRight, kMapTop, {3}) +
         countColoursIn(shot, kMapLeft, kMapBottom, kMapRight, kMapBottom, {3}) +
         countColoursIn(shot, kMapLeft, kMapTop + 1, kMapLeft, kMapBottom - 1, {3}) +
         countColoursIn(shot, kMapRight, kMapTop + 1, kMapRight, kMapBottom - 1, {3});
}
constexpr int kWholeMapFrame = 2 * 63 + 2 * 41;

// The level, not a screen over it: rock, and the ship's outline in the middle of the view.
bool showsTheLevel(const ShotPixels& shot) {
  return countColours(shot, {43}) >= 1000 && countColoursIn(shot, 140, 80, 180, 120, {29}) >= 20;
}

std::string readBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

class ScreensInFlight : public ::testing::Test {
 protected:
  // One run serves every case.
  static void SetUpTestSuite() {
    folder = makeTempFolder("screens-in-flight");
    run = runHeadless(std::string(kIntoLevelOne) +
                          "wait 5\n"
                          "shot flying\n"
                          "hold F1 1    # help\n"
                          "wait 3\n"
                          "shot help\n"
                          "hold ESC 2   # closes help; the level waits for its release\n"
                          "wait 5\n"
                          "shot back\n"
                          "hold F4 1    # options\n"
                          "wait 2\n"
                          "shot options\n"
                          "hold DOWN 1  # from SPEAKER, where a silent game starts, to DEBRIS\n"
                          "wait 1\n"
                          "hold DOWN 1  # MAP\n"
                          "wait 1\n"
                          "hold SPACE 1\n"
                          "wait 1\n"
                          "shot mapOn\n"
                          "hold ENTER 1 # back to the level\n"
                          "wait 5\n"
                          "shot withMap\n"
                          "hold F3 1    # a screenshot\n"
                          "wait 1       # the writer waits for F3's release\n"
                          "wait 1\n"
                          "shot saved\n",
                      folder);
  }

  static ShotPixels picture(const std::string& name) {
    return readShotIndices(folder + "/" + name + ".idx");
  }

  static inline std::string folder;
  static inline RunResult run;
};

TEST_F(ScreensInFlight, TheRunEndsNormallyAndTheLevelStartsWithoutTheMap) {
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(showsTheLevel(picture("flying")));
  EXPECT_EQ(mapFramePixels(picture("flying")), 0);
}

TEST_F(ScreensInFlight, F1ShowsTheHelpAndEscapeReturnsToTheLevel) {
  const ShotPixels help = picture("help");
  ASSERT_EQ(help.size(), 64000u);
  EXPECT_TRUE(shotShowsText(help, 80, 20, 31, "     H   E   L   P"));
  EXPECT_TRUE(shotShowsText(help, 80, 40, 31, "         A : TURN LEFT"));
  EXPECT_TRUE(shotShowsText(help, 80, 50, 31, "         S : TURN RIGHT"));
  EXPECT_TRUE(shotShowsText(help, 80, 150, 31, "       F12 : QUICK EXIT"));
  EXPECT_GE(countColours(help, {25}), 300);  // the grey outline
  EXPECT_EQ(countColours(help, {43}), 0);    // no rock behind it
  const ShotPixels back = picture("back");
  EXPECT_TRUE(showsTheLevel(back));
  EXPECT_FALSE(shotShowsText(back, 80, 40, 31, "         A : TURN LEFT"));
}

TEST_F(ScreensInFlight, F4OpensTheOptionsWhereSpaceSwitchesTheMapOn) {
  const ShotPixels options = picture("options");
  ASSERT_EQ(options.size(), 64000u);
  EXPECT_TRUE(shotShowsText(options, 100, 30, 42, "O  P  T  I  O  N  S  :"));
  EXPECT_TRUE(shotShowsText(options, 110, 110, 66, "MAP           OFF          F5"));
  EXPECT_TRUE(shotShowsText(options, 110, 80, 114, "SPEAKER       OFF"));
  EXPECT_EQ(countColoursIn(options, 0, 40, 319, 199, {43}), 0);  // rock only in the title's shadow
  const ShotPixels mapOn = picture("mapOn");
  EXPECT_TRUE(shotShowsText(mapOn, 110, 110, 15, "MAP           ON           F5"));
  EXPECT_TRUE(shotShowsText(mapOn, 110, 100, 66, "DEBRIS        ON           F6"));
}

TEST_F(ScreensInFlight, AfterTheOptionsTheLevelShowsTheMap) {
  const ShotPixels withMap = picture("withMap");
  EXPECT_TRUE(showsTheLevel(withMap));
  EXPECT_EQ(mapFramePixels(withMap), kWholeMapFrame);
  EXPECT_GE(countColoursIn(withMap, kMapLeft + 1, kMapTop + 1, kMapRight - 1, kMapBottom - 1, {43}),
            20);  // the cave's floor, small
}

TEST_F(ScreensInFlight, F3WritesTheFrameToScreen00InTheWorkingFolder) {
  EXPECT_NE(run.output.find("test screen00.ppm\n"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("test screen01.ppm"), std::string::npos);
  const std::string file = readBytes(folder + "/screen00.ppm");
  ASSERT_EQ(file.size(), 192016u);
  EXPECT_EQ(file.substr(0, 15), "P6\n320 200\n255\n");
  EXPECT_EQ(static_cast<unsigned char>(file.back()), 255);

  // The next picture is the saved frame with the progress box over rows 0-6,
  // which the file never holds.
  const ShotPixels saved = picture("saved");
  EXPECT_TRUE(shotShowsText(saved, 100, 1, 15, "SAVING SCREEN:       %"));
  EXPECT_TRUE(shotShowsNumber(saved, 176, 1, 15, 99));
  const std::string shown = readBytes(folder + "/saved.ppm");
  ASSERT_EQ(shown.size(), 192015u);
  constexpr size_t kBoxBytes = 15 + 7 * 320 * 3;
  EXPECT_TRUE(
      file.compare(kBoxBytes, 192000 - 7 * 320 * 3, shown, kBoxBytes, 192000 - 7 * 320 * 3) == 0);
  EXPECT_NE(file.compare(15, 7 * 320 * 3, shown, 15, 7 * 320 * 3), 0);
  EXPECT_TRUE(showsTheLevel(saved));
  EXPECT_EQ(mapFramePixels(saved), kWholeMapFrame);
}

}  // namespace
