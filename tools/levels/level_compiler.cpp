// kravix-level-compiler: turns the level sources (src/world/levels/levelN.txt)
// into the compiled-in level tables, at build time.
//   kravix-level-compiler OUT.cpp level1.txt ... level8.txt
// A faulty source stops the build with "file:line: why" on standard error.
//
// Source form, one level per file; '#' lines and blank lines outside the grid are comments:
//   level N            the level's number, 1..8, in the order the files are given
//   colour L P         cells of letter L are rock of palette index P (14 makes a moving gate)
//   block L P          like colour, but equal runs of L in consecutive rows merge into one tall box
//   grid Y             the grid's first row stands at world row Y (a multiple of 8); then one
//                      line of 300 cells (8x8 pixels each) per band of 8 rows, down to "end"
// Grid cells: '.' free, a declared letter rock, '*' the ball (its centre is the cell's centre),
// '^' a floor turret and 'v' a ceiling turret (the cell is the image's top-left corner).
// Each row becomes one box per run of equal letters, in reading order; the turrets follow in
// reading order too.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 8;
constexpr int kWorld = 2400;
constexpr int kColumns = kWorld / kCell;
constexpr int kMaxBoxes = 1999;
constexpr int kMaxTurrets = 101;
constexpr int kLevels = 8;

struct SourceError {
  std::string where, why;
};

struct Run {
  int first, last;  // cells, inclusive
  char letter;
};

struct Level {
  std::map<char, int> colours;
  std::map<char, bool> merges;
  std::vector<std::vector<int32_t>> boxes;  // x1 y1 x2 y2 colour
  std::vector<int32_t> ball;
  std::vector<std::vector<int32_t>> turrets;  // x y kind
};

[[noreturn]] void fail(const std::string& where, const std::string& why) {
  throw SourceError{where, why};
}

bool isMarker(char c) {
  return c == '.' || c == '*' || c == '^' || c == 'v';
}

bool readInt(std::istringstream& in, int* value) {
  in >> *value;
  return !in.fail();
}

// Each row's runs; a merging letter whose run repeats the one above extends that box downwards.
class GridReader {
 public:
  GridReader(Level& level, int firstRow) : level_(level), row_(firstRow / kCell) {}

  void addLine(const std::string& line, const std::string& where) {
    if (static_cast<int>(line.size()) != kColumns) {
      fail(where, "a grid line holds " + std::to_string(line.size()) + " cells, not 300");
    }
    if (row_ >= kWorld / kCell) fail(where, "the grid runs below world row 2399");
    std::vector<std::pair<Run, size_t>> open;
    for (int column = 0; column < kColumns;) {
      char letter = line[column];
      if (isMarker(letter)) {
        addMarker(letter, column, where);
        ++column;
        continue;
      }
      if (!level_.colours.count(letter))
        fail(where, std::string("undeclared cell letter '") + letter + "'");
      int first = column;
      while (column < kColumns && line[column] == letter) ++column;
      open.push_back({Run{first, column - 1, letter}, addBox(Run{first, column - 1, letter})});
    }
    open_ = std::move(open);
    ++row_;
  }

 private:
  size_t addBox(const Run& run) {
    if (level_.merges[run.letter]) {
      for (const auto& [above, index] : open_) {
        if (above.first == run.first && above.last == run.last && above.letter == run.letter) {
          level_.boxes[index][3] = row_ * kCell + kCell - 1;
          return index;
        }
      }
    }
    level_.boxes.push_back({run.first * kCell, row_ * kCell, run.last * kCell + kCell - 1,
                            row_ * kCell + kCell - 1, level_.colours[run.letter]});
    return level_.boxes.size() - 1;
  }

  void addMarker(char marker, int column, const std::string& where) {
    if (marker == '*') {
      if (!level_.ball.empty()) fail(where, "a second ball");
      level_.ball = {column * kCell + kCell / 2, row_ * kCell + kCell / 2};
    } else if (marker == '^' || marker == 'v') {
      level_.turrets.push_back({column * kCell, row_ * kCell, marker == '^' ? 1 : 2});
    }
  }

  Level& level_;
  int row_;
  std::vector<std::pair<Run, size_t>> open_;
};

void readDeclaration(Level& level, std::istringstream& in, bool merges, const std::string& where) {
  std::string letter;
  int colour = 0;
  in >> letter;
  if (letter.size() != 1 || isMarker(letter[0]) || letter[0] <= ' ') {
    fail(where, "a cell letter is one character other than . * ^ v");
  }
  if (!readInt(in, &colour) || colour < 1 || colour > 255) fail(where, "a colour is 1..255");
  if (level.colours.count(letter[0])) fail(where, "letter '" + letter + "' declared twice");
  level.colours[letter[0]] = colour;
  level.merges[letter[0]] = merges;
}

Level readLevel(const std::string& path, int number) {
  std::ifstream file(path);
  if (!file) fail(path, "cannot read");
  Level level;
  std::string line;
  int lineNumber = 0;
  bool sawLevel = false, sawGrid = false;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string where = path + ":" + std::to_string(lineNumber);
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "level") {
      int value = 0;
      if (!readInt(in, &value) || value != number) {
        fail(where, "this file should hold level " + std::to_string(number));
      }
      sawLevel = true;
    } else if (word == "colour" || word == "block") {
      readDeclaration(level, in, word == "block", where);
    } else if (word == "grid") {
      int firstRow = -1;
      if (sawGrid) fail(where, "a second grid");
      if (!readInt(in, &firstRow) || firstRow < 0 || firstRow >= kWorld || firstRow % kCell) {
        fail(where, "the grid's first row is a multiple of 8 within 0..2399");
      }
      sawGrid = true;
      GridReader grid(level, firstRow);
      bool ended = false;
      while (!ended && std::getline(file, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "end") {
          ended = true;
        } else {
          grid.addLine(line, path + ":" + std::to_string(lineNumber));
        }
      }
      if (!ended) fail(path, "the grid has no \"end\" line");
    } else {
      fail(where, "unknown line \"" + word + "\"");
    }
  }
  if (!sawLevel) fail(path, "no \"level\" line");
  if (!sawGrid) fail(path, "no grid");
  if (level.ball.empty()) fail(path, "no ball ('*')");
  if (level.turrets.empty()) fail(path, "no turret ('^' or 'v')");
  if (static_cast<int>(level.turrets.size()) > kMaxTurrets) fail(path, "more than 101 turrets");
  if (static_cast<int>(level.boxes.size()) > kMaxBoxes) fail(path, "more than 1999 boxes");
  return level;
}

std::vector<int32_t> tableOf(const Level& level) {
  std::vector<int32_t> words;
  for (const auto& box : level.boxes) words.insert(words.end(), box.begin(), box.end());
  words.insert(words.end(), {0, 0, 0, 0, 0});
  words.insert(words.end(), level.ball.begin(), level.ball.end());
  words.push_back(static_cast<int32_t>(level.turrets.size()) - 1);
  for (const auto& turret : level.turrets) words.insert(words.end(), turret.begin(), turret.end());
  return words;
}

void writeTables(std::ostream& out, const std::vector<std::vector<int32_t>>& tables) {
  out << "// Generated at build time by kravix-level-compiler from src/world/levels/; edit those.\n"
         "#include \"world/level_data.h\"\n\nnamespace {\n";
  for (size_t level = 0; level < tables.size(); ++level) {
    out << "\nconstexpr int32_t kLevel" << level + 1 << "[] = {";
    for (size_t i = 0; i < tables[level].size(); ++i) {
      out << (i % 15 == 0 ? "\n   " : "") << ' ' << tables[level][i] << ',';
    }
    out << "\n};\n";
  }
  out << "\n}  // namespace\n\nLevelTable levelTables[kLevelCount] = {\n";
  for (size_t level = 0; level < tables.size(); ++level) {
    out << "    {kLevel" << level + 1 << ", " << tables[level].size() << "},\n";
  }
  out << "};\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 + kLevels) {
    std::fprintf(stderr, "usage: kravix-level-compiler OUT.cpp level1.txt ... level8.txt\n");
    return 2;
  }
  std::vector<std::vector<int32_t>> tables;
  try {
    for (int level = 1; level <= kLevels; ++level)
      tables.push_back(tableOf(readLevel(argv[1 + level], level)));
  } catch (const SourceError& error) {
    std::fprintf(stderr, "%s: %s\n", error.where.c_str(), error.why.c_str());
    return 1;
  }
  std::ostringstream text;
  writeTables(text, tables);
  std::ofstream out(argv[1]);
  out << text.str();
  if (!out.flush()) {
    std::fprintf(stderr, "kravix-level-compiler: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
