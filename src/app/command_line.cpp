#include "app/command_line.h"

#include <string_view>

#include "platform/script/script_format.h"

namespace {

struct CommonRequests {
  bool help = false, version = false;
};

CommonRequests requests;

// The options every program takes, listed after the rows of its own table.
const CommandOption kCommonOptions[] = {
    {"--help", nullptr, "show this help and end",
     [](const char*, std::string*) { return requests.help = true; }},
    {"--version", nullptr, "show the version and end",
     [](const char*, std::string*) { return requests.version = true; }},
};

const CommandOption* findOption(const CommandLine& line, std::string_view name) {
  for (size_t i = 0; i < line.count; ++i) {
    if (name == line.options[i].name) return &line.options[i];
  }
  for (const CommandOption& option : kCommonOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

bool refuse(const CommandLine& line, const std::string& why) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", line.program, why.c_str(),
               line.program);
  return false;
}

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

void printOption(const CommandOption& option, FILE* out) {
  std::string left = std::string(option.name) + (option.valueName ? " " : "") +
                     (option.valueName ? option.valueName : "");
  std::fprintf(out, "  %-18s %s\n", left.c_str(), option.help);
}

void printUsage(const CommandLine& line, FILE* out) {
  std::fprintf(out, "Usage: %s %s\n\n", line.program, line.synopsis);
  for (size_t i = 0; i < line.count; ++i) printOption(line.options[i], out);
  for (const CommandOption& option : kCommonOptions) printOption(option, out);
}

}  // namespace

int startCommandLine(const CommandLine& line, int argc, char** argv) {
  requests = CommonRequests{};
  if (!parseCommandLine(line, argc, argv)) return 2;
  if (requests.help) {
    printUsage(line, stdout);
    return 0;
  }
  if (requests.version) {
    std::printf("%s %s\n", line.program, KRAVIX_VERSION);
    return 0;
  }
  return kGoOn;
}
