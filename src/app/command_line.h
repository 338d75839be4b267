// The programs' options as a table: GNU long options, `--name VALUE` or
// `--name=VALUE`, no other arguments. A fault prints one message and a hint at
// --help on standard error; the caller then ends with status 2. Adding an
// option is adding a row. --help and --version are every program's and need
// no row: startCommandLine answers them.
#pragma once

#include <cstddef>
#include <string>

struct CommandOption {
  const char* name;       // "--record"
  const char* valueName;  // "FILE", or nullptr when the option takes no value
  const char* help;       // one line for --help
  // Takes the value (nullptr for a flag); false with the reason when it is bad.
  bool (*take)(const char* value, std::string* why);
};

struct CommandLine {
  const char* program;   // "kravix"
  const char* synopsis;  // what follows the program's name in the usage line
  const CommandOption* options;
  size_t count;
};

constexpr int kGoOn = -1;

// Takes the options; kGoOn when the program goes on, otherwise the status it ends
// with: 2 after a fault, 0 after printing the usage (--help) or the version.
int startCommandLine(const CommandLine& line, int argc, char** argv);
