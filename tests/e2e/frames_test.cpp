// Level 1 as the playthrough flies it, with the map and the full status line
// on: every 16th line's frame pinned by a digest, so that a change to anything
// a frame draws (rock, turret, ship, ball, stand, rod, tag line, stars, exhaust,
// rings, the fading craft, map, status line, title and intro) shows, while the
// playthrough pins where everything flies.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "script_building.h"

namespace {

TEST(Frames, LevelOneLooksAsItAlwaysHas) {
  std::istringstream lines(levelOneWon());
  std::string script, line;
  std::vector<std::string> shots;
  while (std::getline(lines, line)) {
    script.append(line).append("\n");
    if (line.starts_with("shot ")) continue;
    if (shots.size() % 16 == 0 || line.starts_with("hold ENTER 1  # the intro"))
      script.append("shot ").append(shots.emplace_back(std::to_string(shots.size()))).append("\n");
    else
      shots.push_back("");
  }
  const std::string folder = makeTempFolder("frames");
  // The map and the full status line on; a table that fails its check.
  std::string file = std::string("\1\0\1\1\1\x32", 6) + std::string(486, '\0');
  file.back() = 31;
  std::ofstream(folder + "/.kravix.sco", std::ios::binary) << file;
  ASSERT_EQ(runHeadless(script, folder).status, 0);
  std::string digests;
  for (const std::string& shot : shots) {
    if (shot.empty()) continue;
    const std::string bytes = readWhole(folder + "/" + shot + ".idx");
    digests.append(shot)
        .append(":")
        .append(std::to_string(digestOf(bytes.data(), bytes.size())))
        .append(" ");
  }
  EXPECT_EQ(digests,
            "0:874732487356850590 8:9438508262123858407 16:15224996563092228969 "
            "32:17366145765207973075 48:13984715697003184267 64:12637839547343489830 "
            "80:11856612625250181723 96:5354074384431583108 112:8941702083887840340 "
            "128:11112110297394359509 ");
}

}  // namespace
