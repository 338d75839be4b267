// kravix-mutate: picks single-point mutants of the game's sources and writes one.
// The C++ files under ROOT/src (less those the skip pattern names) are read in
// path order; their sites are shuffled per operator by a seeded generator of our
// own and dealt out one operator at a time, so a seed, a count and a tree always
// give the same list. --apply writes one of them into its file under ROOT.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "mutation_sites.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDefaultSkip =
    "^src/platform/(sdl|headless)/|_fuzzer\\.cpp$|^src/app/main\\.cpp$";

struct Options {
  fs::path root;
  std::uint64_t seed = 1;
  int count = 100;
  std::string skip = kDefaultSkip;
  std::optional<int> apply;
};

struct SourceFile {
  std::string path;  // relative to the root, with forward slashes
  std::string text;
  std::vector<MutationSite> sites;
};

struct Mutant {
  const SourceFile* file;
  const MutationSite* site;
  const std::string* replacement;
};

// splitmix64: the same numbers on every compiler and library.
class SeededNumbers {
 public:
  explicit SeededNumbers(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }

 private:
  std::uint64_t state_;
};

void printUsage(std::ostream& out) {
  out << "Usage: kravix-mutate --root DIR [--seed S] [--count N] [--skip REGEX] [--apply I]\n"
         "Lists N single-point mutants of the C++ sources under DIR/src, one a line:\n"
         "index, file, line, operator, original text, mutated text (tab-separated).\n"
         "  --seed S     chooses the mutants (default 1)\n"
         "  --count N    how many (default 100)\n"
         "  --skip REGEX leaves out files whose path from DIR matches (default \""
      << kDefaultSkip
      << "\")\n"
         "  --apply I    writes mutant I of that list into its file under DIR instead\n"
         "  --help, --version\n";
}

bool readNumber(const char* text, std::uint64_t* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtoull(text, &end, 10);
  return *text != '\0' && *end == '\0' && errno == 0 && text[0] != '-';
}

// Returns 0 to go on, or the exit status.
int parseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help") {
      printUsage(std::cout);
      return -1;
    }
    if (arg == "--version") {
      std::cout << "kravix-mutate " << KRAVIX_VERSION << "\n";
      return -1;
    }
    bool takesValue = arg == "--root" || arg == "--seed" || arg == "--count" || arg == "--skip" ||
                      arg == "--apply";
    std::uint64_t number = 0;
    if (!takesValue || i + 1 >= argc) {
      std::cerr << "kravix-mutate: bad option '" << arg << "'\n";
      printUsage(std::cerr);
      return 2;
    }
    const char* value = argv[++i];
    bool numeric = arg == "--seed" || arg == "--count" || arg == "--apply";
    if (numeric && (!readNumber(value, &number) || (arg != "--seed" && number > 1000000))) {
      std::cerr << "kravix-mutate: " << arg << " takes a number, not '" << value << "'\n";
      return 2;
    }
    if (arg == "--root") options->root = value;
    if (arg == "--seed") options->seed = number;
    if (arg == "--count") options->count = static_cast<int>(number);
    if (arg == "--skip") options->skip = value;
    if (arg == "--apply") options->apply = static_cast<int>(number);
  }
  if (options->root.empty()) {
    std::cerr << "kravix-mutate: --root is required\n";
    printUsage(std::cerr);
    return 2;
  }
  return 0;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<SourceFile> readSources(const Options& options) {
  std::regex skip(options.skip, std::regex::extended);
  std::vector<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(options.root / "src")) {
    std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    std::string relative = entry.path().lexically_relative(options.root).generic_string();
    if (!std::regex_search(relative, skip)) paths.push_back(relative);
  }
  std::sort(paths.begin(), paths.end());
  std::vector<SourceFile> files;
  for (const std::string& path : paths) files.push_back({path, readFile(options.root / path), {}});
  for (SourceFile& file : files) file.sites = findMutationSites(file.text);
  return files;
}

std::vector<Mutant> pickMutants(const std::vector<SourceFile>& files, std::uint64_t seed,
                                int count) {
  std::vector<std::vector<Mutant>> pools(kMutationOperators);
  for (const SourceFile& file : files) {
    for (const MutationSite& site : file.sites) {
      pools[static_cast<int>(site.op)].push_back({&file, &site, nullptr});
    }
  }
  SeededNumbers numbers(seed);
  for (auto& pool : pools) {
    for (std::size_t i = pool.size(); i > 1; --i) std::swap(pool[i - 1], pool[numbers.below(i)]);
  }
  std::vector<Mutant> picked;
  for (std::size_t round = 0; static_cast<int>(picked.size()) < count; ++round) {
    bool any = false;
    for (auto& pool : pools) {
      if (round >= pool.size() || static_cast<int>(picked.size()) >= count) continue;
      Mutant mutant = pool[round];
      mutant.replacement =
          &mutant.site->replacements[numbers.below(mutant.site->replacements.size())];
      picked.push_back(mutant);
      any = true;
    }
    if (!any) break;
  }
  return picked;
}

// One line for the list: newlines and tabs of a deleted statement become spaces.
std::string oneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    bool space = c == '\n' || c == '\t' || c == ' ';
    if (!(space && !line.empty() && line.back() == ' ')) line += space ? ' ' : c;
  }
  return line;
}

int applyMutant(const Options& options, const Mutant& mutant) {
  std::string text = mutant.file->text;
  text.replace(mutant.site->offset, mutant.site->length, *mutant.replacement);
  fs::path path = options.root / mutant.file->path;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "kravix-mutate: cannot write " << path << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (int status = parseOptions(argc, argv, &options); status != 0) return status < 0 ? 0 : status;
  std::vector<SourceFile> files;
  try {
    files = readSources(options);
  } catch (const std::exception& error) {
    std::cerr << "kravix-mutate: " << error.what() << "\n";
    return 1;
  }
  std::vector<Mutant> mutants = pickMutants(files, options.seed, options.count);
  if (options.apply) {
    if (*options.apply < 1 || *options.apply > static_cast<int>(mutants.size())) {
      std::cerr << "kravix-mutate: there is no mutant " << *options.apply << "\n";
      return 2;
    }
    return applyMutant(options, mutants[*options.apply - 1]);
  }
  for (std::size_t i = 0; i < mutants.size(); ++i) {
    const Mutant& m = mutants[i];
    std::cout << i + 1 << '\t' << m.file->path << '\t' << m.site->line << '\t'
              << operatorName(m.site->op) << '\t' << oneLine(m.site->original) << '\t'
              << (m.replacement->empty() ? "(deleted)" : oneLine(*m.replacement)) << '\n';
  }
  return 0;
}
