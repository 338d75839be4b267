#include "app/command_line.h"

#include <string_view>

namespace {

// Arguments are echoed with control and other non-ASCII bytes as \xNN.
std::string printable(std::string_view bytes) {
  std::string shown;
  for (unsigned char c : bytes.substr(0, 80)) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
    shown += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, static_cast<char>(c)) : escaped;
  }
  return shown;
}

const CommandOption* findOption(const CommandLine& line, std::string_view name) {
  for (size_t i = 0; i < line.count; ++i) {
    if (name == line.options[i].name) return &line.options[i];
  }
  return nullptr;
}

bool refuse(const CommandLine& line, const std::string& why) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", line.program, why.c_str(),
               line.program);
  return false;
}

}  // namespace

bool parseCommandLine(const CommandLine& line, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const CommandOption* option = word.starts_with("--") ? findOption(line, name) : nullptr;
    if (!option) {
      return refuse(line,
                    (word.starts_with("-") ? "unrecognized option '" : "unexpected argument '") +
                        printable(name) + "'");
    }
    const char* value = nullptr;
    if (option->valueName && equals != std::string_view::npos) {
      value = argv[i] + equals + 1;
    } else if (option->valueName) {
      if (i + 1 >= argc) return refuse(line, "option '" + printable(name) + "' requires a value");
      value = argv[++i];
    } else if (equals != std::string_view::npos) {
      return refuse(line, "option '" + printable(name) + "' takes no value");
    }
    std::string why;
    if (!option->take(value, &why)) return refuse(line, printable(name) + ": " + why);
  }
  return true;
}

void printUsage(const CommandLine& line, FILE* out) {
  std::fprintf(out, "Usage: %s %s\n\n", line.program, line.synopsis);
  for (size_t i = 0; i < line.count; ++i) {
    const CommandOption& option = line.options[i];
    std::string left = std::string(option.name) + (option.valueName ? " " : "") +
                       (option.valueName ? option.valueName : "");
    std::fprintf(out, "  %-18s %s\n", left.c_str(), option.help);
  }
}
