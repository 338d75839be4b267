// Demos through kravix-headless: a run recorded as a demo plays back to the
// same shots and the same score file, from the table the demo carries; a full
// disk loses only the demo; keys that run out end it as any script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "script_building.h"

namespace {

namespace fs = std::filesystem;

const char kShots[][8] = {"level1", "towing", "intro2", "table"};

// Level 1 won, Escape on the next intro, "TZ" typed as the new high score.
std::string wonLevelAndName() {
  return levelOneWon() +
         "wait 20\nshot intro2\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold Z 1\nwait 500\n"
         "hold ENTER 1\nwait 3\nshot table\n";
}

// A folder whose score file holds a played table, unlike the default one.
std::string folderWithPlayedTable(const std::string& name) {
  const std::string folder = makeTempFolder(name);
  fs::copy_file(std::string(KRAVIX_SOURCE_DIR) + "/src/scores/score_file_corpus/played_table.sco",
                folder + "/.kravix.sco");
  return folder;
}

TEST(Demo, ARecordedRunPlaysBackAlikeAndNeitherAFullDiskNorACutDemoHarmsTheGame) {
  const std::string recorded = folderWithPlayedTable("recorded");
  EXPECT_EQ(runHeadless(wonLevelAndName(), recorded, {"--record", recorded + "/game.demo"}).status,
            0);
  const std::string demo = readWhole(recorded + "/game.demo");
  ASSERT_EQ(demo.substr(0, 7), "demo 1\n");
  // The player's own table in the second HOME is the default one: were it read,
  // the name would go to another row and the file would differ.
  const std::string replayed = makeTempFolder("replayed");
  EXPECT_EQ(runHeadless(demo, replayed).status, 0);
  for (const char* shot : kShots) {
    EXPECT_EQ(readWhole(replayed + "/" + shot + ".idx"), readWhole(recorded + "/" + shot + ".idx"))
        << shot;
  }
  EXPECT_EQ(readWhole(replayed + "/.kravix.sco"), readWhole(recorded + "/.kravix.sco"));
  // Recorded again while it plays, the demo comes out as it went in.
  EXPECT_EQ(runHeadless(demo, replayed, {"--record", replayed + "/again.demo"}).status, 0);
  EXPECT_EQ(readWhole(replayed + "/again.demo"), demo);
  // A full disk loses the demo but neither the game nor the score file.
  const std::string full = folderWithPlayedTable("full");
  EXPECT_EQ(runHeadless(wonLevelAndName(), full, {"--record", "/dev/full"}).status, 0);
  EXPECT_EQ(readWhole(full + "/.kravix.sco"), readWhole(recorded + "/.kravix.sco"));
  EXPECT_EQ(readWhole(full + "/table.idx"), readWhole(recorded + "/table.idx"));
  // Cut short, it ends on F12 when its keys run out, like any script.
  const std::string folder = makeTempFolder("short");
  const std::string cut = demo.substr(0, demo.find("shot towing")) + "end\n";
  EXPECT_EQ(runHeadless(cut, folder).status, 0);
  EXPECT_TRUE(fs::exists(folder + "/level1.idx") && fs::exists(folder + "/.kravix.sco"));
  EXPECT_FALSE(fs::exists(folder + "/towing.idx"));
}

TEST(Demo, KeepsTheKeysHeldLastWhenNoClockReadingFollowsThem) {
  const std::string folder = makeTempFolder("quit");
  EXPECT_EQ(runHeadless("wait 5\nhold ESC 3\n", folder, {"--record", folder + "/quit.demo"}).status,
            0);
  EXPECT_TRUE(readWhole(folder + "/quit.demo").ends_with("\nwait 5\nhold ESC 1\nend\n"));
}

}  // namespace
