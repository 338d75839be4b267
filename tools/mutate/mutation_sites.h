// The places in one C++ source where a single-point mutant can be made.
// findMutationSites reads the text (comments, string and character literals,
// preprocessor lines and large data tables are never touched) and returns every
// site in text order with its possible replacements. A site changes exactly one
// span of the text; applying it is a plain splice.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class MutationOperator { Compare, Constant, PlusMinus, DeleteStatement, Condition };
inline constexpr int kMutationOperators = 5;

struct MutationSite {
  MutationOperator op;
  std::size_t offset;  // of the replaced span in the file's text
  std::size_t length;
  int line;  // 1-based, of the span's start
  std::string original;
  std::vector<std::string> replacements;  // one is chosen per mutant
};

const char* operatorName(MutationOperator op);
std::vector<MutationSite> findMutationSites(std::string_view text);
