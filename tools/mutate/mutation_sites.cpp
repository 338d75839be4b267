#include "mutation_sites.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

enum class TokenKind { Identifier, Number, Literal, Punct };
// Where a token stands: in code, at namespace or class scope, in a short
// initializer, or in a data table or enumeration that is never mutated.
enum class Context { Code, Scope, Init, Skipped };

struct Token {
  TokenKind kind;
  std::size_t offset;
  std::size_t length;
  int line;
  bool spaceBefore;
  bool spaceAfter;
  bool firstOnLine;
  std::string_view text;
};

constexpr int kTableNumbers = 16;  // an initializer holding this many numbers is a data table

bool isIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool isSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  std::vector<Token> run() {
    while (pos_ < text_.size()) step();
    return tokens_;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  bool lineStart_ = true;
  std::vector<Token> tokens_;

  char at(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

  void advance() {
    if (text_[pos_] == '\n') ++line_;
    ++pos_;
  }

  void skipTo(std::string_view end) {
    while (pos_ < text_.size() && text_.substr(pos_, end.size()) != end) advance();
    for (std::size_t i = 0; i < end.size() && pos_ < text_.size(); ++i) advance();
  }

  void skipPreprocessorLine() {
    while (pos_ < text_.size() && !(text_[pos_] == '\n' && at(pos_ - 1) != '\\')) advance();
  }

  void step() {
    char c = text_[pos_];
    if (c == '\n') {
      lineStart_ = true;
      advance();
    } else if (isSpace(c)) {
      advance();
    } else if (c == '/' && at(pos_ + 1) == '/') {
      skipTo("\n");
      lineStart_ = true;
    } else if (c == '/' && at(pos_ + 1) == '*') {
      pos_ += 2;
      skipTo("*/");
    } else if (c == '#' && lineStart_) {
      skipPreprocessorLine();
    } else {
      lexToken();
    }
  }

  void lexToken() {
    std::size_t start = pos_;
    int line = line_;
    TokenKind kind = lexOne();
    std::size_t length = pos_ - start;
    bool after = pos_ >= text_.size() || isSpace(text_[pos_]);
    bool before = start == 0 || isSpace(text_[start - 1]);
    tokens_.push_back(
        {kind, start, length, line, before, after, lineStart_, text_.substr(start, length)});
    lineStart_ = false;
  }

  TokenKind lexOne() {
    char c = text_[pos_];
    if (c == '"' || c == '\'') {
      lexQuoted(c);
      return TokenKind::Literal;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) ||
        (c == '.' && std::isdigit(static_cast<unsigned char>(at(pos_ + 1))))) {
      lexNumber();
      return TokenKind::Number;
    }
    if (isIdentifierChar(c)) {
      while (pos_ < text_.size() && isIdentifierChar(text_[pos_])) advance();
      return TokenKind::Identifier;
    }
    lexPunct();
    return TokenKind::Punct;
  }

  void lexQuoted(char quote) {
    advance();
    while (pos_ < text_.size() && text_[pos_] != quote && text_[pos_] != '\n') {
      if (text_[pos_] == '\\') advance();
      advance();
    }
    if (pos_ < text_.size() && text_[pos_] == quote) advance();
  }

  void lexNumber() {
    bool hex = text_[pos_] == '0' && (at(pos_ + 1) == 'x' || at(pos_ + 1) == 'X');
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      bool sign = (c == '+' || c == '-') && !hex && (at(pos_ - 1) == 'e' || at(pos_ - 1) == 'E');
      if (!isIdentifierChar(c) && c != '.' && c != '\'' && !sign) break;
      advance();
    }
  }

  void lexPunct() {
    static constexpr std::array<std::string_view, 25> kLong = {
        "<<=", ">>=", "<=>", "...", "->*", "::", "->", "++", "--", "<<", ">>", "<=", ">=",
        "==",  "!=",  "&&",  "||",  "+=",  "-=", "*=", "/=", "%=", "&=", "|=", "^="};
    for (std::string_view op : kLong) {
      if (text_.substr(pos_, op.size()) == op) {
        for (std::size_t i = 0; i < op.size(); ++i) advance();
        return;
      }
    }
    advance();
  }
};

template <typename Words>
bool isOneOfRange(std::string_view word, const Words& words) {
  for (std::string_view w : words) {
    if (word == w) return true;
  }
  return false;
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return isOneOfRange(word, words);
}

// The index of the bracket that closes the one at `open`, or the token count.
std::size_t matchingClose(const std::vector<Token>& tokens, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < tokens.size(); ++i) {
    std::string_view t = tokens[i].text;
    if (tokens[i].kind != TokenKind::Punct) continue;
    if (t == "(" || t == "[" || t == "{") ++depth;
    if ((t == ")" || t == "]" || t == "}") && --depth == 0) return i;
  }
  return tokens.size();
}

// Whether the statement that this brace ends the head of declares a type or namespace.
bool opensTypeOrNamespace(const std::vector<Token>& tokens, std::size_t brace, bool* isEnum) {
  for (std::size_t i = brace; i-- > 0;) {
    std::string_view t = tokens[i].text;
    if (t == ";" || t == "{" || t == "}" || t == "(" || t == ")" || t == "=") return false;
    if (t == "enum") *isEnum = true;
    if (isOneOf(t, {"namespace", "struct", "class", "enum", "union", "extern"})) return true;
  }
  return false;
}

Context braceContext(const std::vector<Token>& tokens, std::size_t brace, Context parent) {
  if (parent == Context::Init || parent == Context::Skipped) return parent;
  bool isEnum = false;
  if (opensTypeOrNamespace(tokens, brace, &isEnum)) {
    return isEnum ? Context::Skipped : Context::Scope;
  }
  std::string_view prev = brace > 0 ? tokens[brace - 1].text : ";";
  if (isOneOf(prev, {")", "else", "do", "try", "const", "noexcept", "override", "final", "mutable",
                     "]"})) {
    return Context::Code;
  }
  if (isOneOf(prev, {";", "{", "}", ":"})) return parent;
  std::size_t close = matchingClose(tokens, brace);
  int numbers = 0;
  for (std::size_t i = brace; i < close; ++i) numbers += tokens[i].kind == TokenKind::Number;
  return numbers >= kTableNumbers ? Context::Skipped : Context::Init;
}

std::vector<Context> tokenContexts(const std::vector<Token>& tokens) {
  std::vector<Context> contexts(tokens.size(), Context::Scope);
  std::vector<Context> stack{Context::Scope};
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].text == "{" && tokens[i].kind == TokenKind::Punct) {
      stack.push_back(braceContext(tokens, i, stack.back()));
    }
    contexts[i] = stack.back();
    if (tokens[i].text == "}" && tokens[i].kind == TokenKind::Punct && stack.size() > 1) {
      stack.pop_back();
    }
  }
  return contexts;
}

class SiteFinder {
 public:
  SiteFinder(std::string_view text, std::vector<Token> tokens)
      : text_(text), tokens_(std::move(tokens)), contexts_(tokenContexts(tokens_)) {}

  std::vector<MutationSite> run() {
    for (std::size_t i = 0; i < tokens_.size(); ++i) {
      if (contexts_[i] == Context::Skipped) continue;
      addCompare(i);
      addPlusMinus(i);
      addConstant(i);
      if (contexts_[i] != Context::Code) continue;
      addCondition(i);
      addDeletion(i);
    }
    return std::move(sites_);
  }

 private:
  std::string_view text_;
  std::vector<Token> tokens_;
  std::vector<Context> contexts_;
  std::vector<MutationSite> sites_;

  std::string_view textAt(std::size_t i) const {
    return i < tokens_.size() ? tokens_[i].text : std::string_view{};
  }

  void add(MutationOperator op, std::size_t first, std::size_t last,
           std::vector<std::string> replacements) {
    std::size_t begin = tokens_[first].offset;
    std::size_t end = tokens_[last].offset + tokens_[last].length;
    sites_.push_back({op, begin, end - begin, tokens_[first].line,
                      std::string(text_.substr(begin, end - begin)), std::move(replacements)});
  }

  bool isBinary(std::size_t i) const {
    return tokens_[i].kind == TokenKind::Punct && tokens_[i].spaceBefore && tokens_[i].spaceAfter;
  }

  void addCompare(std::size_t i) {
    static constexpr std::array<std::array<std::string_view, 2>, 6> kFlips = {
        {{"<", "<="}, {"<=", "<"}, {">", ">="}, {">=", ">"}, {"==", "!="}, {"!=", "=="}}};
    if (!isBinary(i)) return;
    for (const auto& flip : kFlips) {
      if (tokens_[i].text == flip[0]) add(MutationOperator::Compare, i, i, {std::string(flip[1])});
    }
  }

  void addPlusMinus(std::size_t i) {
    static constexpr std::array<std::array<std::string_view, 2>, 6> kSwaps = {
        {{"+", "-"}, {"-", "+"}, {"+=", "-="}, {"-=", "+="}, {"++", "--"}, {"--", "++"}}};
    if (tokens_[i].kind != TokenKind::Punct) return;
    bool stepper = tokens_[i].text == "++" || tokens_[i].text == "--";
    if (!stepper && !isBinary(i)) return;
    for (const auto& swap : kSwaps) {
      if (tokens_[i].text == swap[0])
        add(MutationOperator::PlusMinus, i, i, {std::string(swap[1])});
    }
  }

  // An array bound such as `int table[4][2]`: nudging it leaves a slot unused.
  bool isArrayBound(std::size_t i) const {
    if (textAt(i - 1) != "[" || textAt(i + 1) != "]") return false;
    if (contexts_[i] == Context::Scope) return true;
    std::size_t name = i - 1;
    while (name > 0 && (textAt(name) == "[" || textAt(name) == "]" ||
                        tokens_[name].kind == TokenKind::Number)) {
      --name;
    }
    if (name == 0 || tokens_[name].kind != TokenKind::Identifier) return false;
    const Token& before = tokens_[name - 1];
    return before.kind == TokenKind::Identifier || before.text == ">" || before.text == "*" ||
           before.text == "&";
  }

  bool isTemplateArgument(std::size_t i) const {
    bool openBefore = i > 0 && textAt(i - 1) == "<" && !tokens_[i - 1].spaceBefore;
    bool closeAfter =
        (textAt(i + 1) == ">" || textAt(i + 1) == ">>") && !tokens_[i + 1].spaceBefore;
    return openBefore || closeAfter;
  }

  void addConstant(std::size_t i) {
    if (tokens_[i].kind != TokenKind::Number || i == 0) return;
    if (isArrayBound(i) || isTemplateArgument(i)) return;
    std::vector<std::string> nudges = nudgedNumbers(std::string(tokens_[i].text));
    if (!nudges.empty()) add(MutationOperator::Constant, i, i, std::move(nudges));
  }

  static std::vector<std::string> nudgedNumbers(std::string number) {
    std::erase(number, '\'');
    std::size_t suffixStart = number.find_last_not_of("uUlLfF");
    bool hex = number.size() > 1 && (number[1] == 'x' || number[1] == 'X');
    if (hex) suffixStart = number.find_last_not_of("uUlL");
    std::string suffix = number.substr(suffixStart + 1);
    std::string digits = number.substr(0, suffixStart + 1);
    bool floating = !hex && digits.find_first_of(".eE") != std::string::npos;
    if (floating) return nudgedFloats(std::strtod(digits.c_str(), nullptr), suffix);
    unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    std::vector<std::string> nudges;
    for (unsigned long long nudged : {value + 1, value - 1}) {
      if (value == 0 && nudged != 1) continue;
      char buffer[40];
      std::snprintf(buffer, sizeof buffer, hex ? "0x%llX" : "%llu", nudged);
      nudges.push_back(buffer + suffix);
    }
    return nudges;
  }

  static std::vector<std::string> nudgedFloats(double value, const std::string& suffix) {
    std::vector<std::string> nudges;
    std::array<double, 2> values = {value * 1.05, value * 0.95};
    if (value == 0) values = {1.0, 1.0};
    for (double nudged : values) {
      char buffer[40];
      std::snprintf(buffer, sizeof buffer, "%.6g", nudged);
      std::string text = buffer;
      if (text.find_first_of(".e") == std::string::npos) text += ".0";
      nudges.push_back(text + suffix);
      if (value == 0) break;
    }
    return nudges;
  }

  bool startsDeclaration(std::size_t first, std::size_t end) const {
    static constexpr std::array<std::string_view, 18> kTypeWords = {
        "auto", "const", "constexpr", "static", "int",   "unsigned", "double", "float", "bool",
        "char", "long",  "short",     "void",   "using", "typedef",  "struct", "class", "enum"};
    if (isOneOfRange(textAt(first), kTypeWords)) return true;
    std::size_t i = first;
    while (i + 2 < end && textAt(i + 1) == "::") i += 2;
    if (textAt(i + 1) == "<" && !tokens_[i + 1].spaceBefore) return true;
    ++i;
    while (i < end && (textAt(i) == "*" || textAt(i) == "&")) ++i;
    return i < end && tokens_[i].kind == TokenKind::Identifier;
  }

  void addCondition(std::size_t i) {
    bool isIf = textAt(i) == "if";
    if ((!isIf && textAt(i) != "while") || textAt(i + 1) != "(") return;
    std::size_t close = matchingClose(tokens_, i + 1);
    if (close >= tokens_.size() || close <= i + 2) return;
    for (std::size_t k = i + 2; k < close; ++k) {
      if (textAt(k) == ";" || textAt(k) == "{") return;
    }
    if (startsDeclaration(i + 2, close)) return;
    std::string_view inner = textAt(i + 2);
    if (close == i + 3 && (inner == "true" || inner == "false")) return;
    std::vector<std::string> forced = {"false"};
    if (isIf) forced = {"true", "false"};
    add(MutationOperator::Condition, i + 2, close - 1, std::move(forced));
  }

  void addDeletion(std::size_t i) {
    static constexpr std::array<std::string_view, 25> kKeywords = {
        "if",       "for",       "while",     "do",           "switch",   "return",    "break",
        "continue", "case",      "default",   "else",         "goto",     "new",       "delete",
        "throw",    "try",       "catch",     "template",     "typename", "namespace", "public",
        "private",  "protected", "co_return", "static_assert"};
    const Token& token = tokens_[i];
    if (!token.firstOnLine || i == 0) return;
    if (!isOneOf(textAt(i - 1), {";", "{", "}", ":"})) return;
    bool stepper = token.text == "++" || token.text == "--";
    if (!stepper && (token.kind != TokenKind::Identifier || isOneOfRange(token.text, kKeywords)))
      return;
    std::size_t end = statementEnd(i);
    if (end >= tokens_.size() || startsDeclaration(i, end) || textAt(i + 1) == ":") return;
    add(MutationOperator::DeleteStatement, i, end, {""});
  }

  // The index of the `;` ending the statement that starts at `first`, or the token count.
  std::size_t statementEnd(std::size_t first) const {
    int depth = 0;
    for (std::size_t i = first; i < tokens_.size(); ++i) {
      std::string_view t = textAt(i);
      if (tokens_[i].kind != TokenKind::Punct) continue;
      if (t == "(" || t == "[" || t == "{") ++depth;
      if (t == ")" || t == "]" || t == "}") {
        if (--depth < 0) return tokens_.size();
      }
      if (t == ";" && depth == 0) return i;
    }
    return tokens_.size();
  }
};

}  // namespace

const char* operatorName(MutationOperator op) {
  switch (op) {
    case MutationOperator::Compare:
      return "compare";
    case MutationOperator::Constant:
      return "constant";
    case MutationOperator::PlusMinus:
      return "plus-minus";
    case MutationOperator::DeleteStatement:
      return "delete";
    case MutationOperator::Condition:
      return "condition";
  }
  return "?";
}

std::vector<MutationSite> findMutationSites(std::string_view text) {
  return SiteFinder(text, Lexer(text).run()).run();
}
