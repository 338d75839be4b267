// Level 1 won from the program's start, for whole runs of kravix-headless.
#pragma once

#include <string>
#include <vector>

#include "support/test_support.h"

// Level 1 won from the program's start as the playthrough wins it, with a shot
// "level1" in its first frames and "towing" near its end; level 2's intro is up
// when the keys end.
inline std::string levelOneWon() {
  const std::string round = readWhole(std::string(KRAVIX_SOURCE_DIR) + "/demos/playthrough.script");
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = round.find('\n', at)) < round.find("# level 2"); at = end + 1)
    lines.push_back(round.substr(at, end + 1 - at));
  std::string script;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i + 30 == lines.size()) script += "shot towing\n";
    script += lines[i];
    if (i > 0 && lines[i - 1].starts_with("hold ENTER 1  # the intro")) script += "shot level1\n";
  }
  return script;
}
