// The keys file: its lines read over the defaults, what a bad line costs,
// keys bound twice, and --print-keys written by the game program and read back.
#include <gtest/gtest.h>

#include <SDL2/SDL_gamecontroller.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/sdl/key_bindings.h"
#include "support/child_process.h"

namespace {

using Keys = std::vector<SDL_Scancode>;
using Pad = std::vector<PadInput>;

Keys keysOf(const KeyBindings& bindings, Action action) {
  const ActionBinding& binding = bindings.actions[static_cast<int>(action)];
  return Keys(binding.keys, binding.keys + binding.keyCount);
}
Pad padOf(const KeyBindings& bindings, Action action) {
  const ActionBinding& binding = bindings.actions[static_cast<int>(action)];
  return Pad(binding.pad, binding.pad + binding.padCount);
}
bool sameBindings(const KeyBindings& one, const KeyBindings& two) {
  for (int a = 0; a < kActionCount; ++a) {
    Action action = static_cast<Action>(a);
    if (keysOf(one, action) != keysOf(two, action) || padOf(one, action) != padOf(two, action))
      return false;
  }
  return true;
}

struct Read {
  KeyBindings bindings = defaultKeyBindings();
  std::vector<BindingProblem> problems;
  explicit Read(std::string_view text) { readKeyBindings(text, bindings, problems); }
};

TEST(KeyBindings, ALineBindsItsActionToItsKeysAndLeavesTheOthers) {
  Read clean(
      "\n# my keys\n   \n\t# more\n"  // blank lines and comments change nothing
      "thrust = W \"Right Shift\"\r\n"
      "  turn_left=j   # a comment\n"
      "pad_fire = righttrigger LEFTY+\n"
      "help =\n"
      "map = F5 f5\n");  // the same key twice on one action is one key
  EXPECT_TRUE(clean.problems.empty());
  EXPECT_EQ(keysOf(clean.bindings, Action::thrust), (Keys{SDL_SCANCODE_W, SDL_SCANCODE_RSHIFT}));
  EXPECT_EQ(keysOf(clean.bindings, Action::turnLeft), Keys{SDL_SCANCODE_J});
  EXPECT_EQ(keysOf(clean.bindings, Action::help), Keys{});
  EXPECT_EQ(keysOf(clean.bindings, Action::map), Keys{SDL_SCANCODE_F5});
  EXPECT_EQ(padOf(clean.bindings, Action::fire),
            (Pad{{PadInput::kAxisPlus, SDL_CONTROLLER_AXIS_TRIGGERRIGHT},
                 {PadInput::kAxisPlus, SDL_CONTROLLER_AXIS_LEFTY}}));
  EXPECT_EQ(keysOf(clean.bindings, Action::turnRight), Keys{SDL_SCANCODE_S});
}

TEST(KeyBindings, EachBadLineIsReportedOnceWithItsNumberAndChangesNothing) {
  const char* badLines[] = {
      "thrust W",                    // no =
      "= W",                         // no action
      "jump = W",                    // unknown action
      "pad_jump = a",                // unknown action on the pad
      "thrust = Rigth",              // unknown key
      "thrust = \"Right Shift",      // quote not closed
      "pad_thrust = W",              // a key where a pad input belongs
      "pad_thrust = leftx",          // a stick without its direction
      "pad_thrust = lefttrigger-",   // a trigger has one direction
      "pad_thrust = +",              // a sign alone
      "thrust = A B C D E F G H I",  // more than eight keys
  };
  for (const char* line : badLines) {
    Read read(std::string("help = F9\n") + line + "\nhelp = F10\n");
    ASSERT_EQ(read.problems.size(), 2u) << line;
    EXPECT_EQ(read.problems[0].line, 2) << line;
    EXPECT_NE(read.problems[0].message.find("line skipped"), std::string::npos) << line;
    EXPECT_EQ(read.problems[1].line, 3);  // the second help line; the first holds
    EXPECT_EQ(keysOf(read.bindings, Action::help), Keys{SDL_SCANCODE_F9});
    Read alone(line);
    EXPECT_TRUE(sameBindings(alone.bindings, defaultKeyBindings())) << line;
  }
}

TEST(KeyBindings, AKeyOnTwoActionsIsReportedAtTheLaterLineAndKeptForBoth) {
  Read read("fire = Return\nthrust = A\npad_tag = a\n");
  ASSERT_EQ(read.problems.size(), 2u);
  EXPECT_EQ(read.problems[0].line, 2);
  EXPECT_EQ(read.problems[0].message, "A is bound to both turn_left and thrust");
  EXPECT_EQ(read.problems[1].line, 3);  // on the pad too
  EXPECT_EQ(keysOf(read.bindings, Action::turnLeft), Keys{SDL_SCANCODE_A});
  EXPECT_EQ(keysOf(read.bindings, Action::thrust), Keys{SDL_SCANCODE_A});
}

// Any text at all: never more than the pool holds, and what is in force
// always writes out and reads back the same.
TEST(KeyBindings, GarbageTextNeverBreaksTheBindings) {
  const std::string alphabet =
      "= \"#\n\t\r+-_aAbxyQ5 pad_thrust fire leftx righttrigger Return\xff";
  std::mt19937 random(15);
  for (int run = 0; run < 3000; ++run) {
    std::string text;
    for (int n = static_cast<int>(random() % 200); n > 0; --n)
      text += alphabet[random() % alphabet.size()];
    if (run % 2) text = "pad_thrust = " + text + "\nthrust = " + text;
    Read read(text);
    for (const ActionBinding& binding : read.bindings.actions) {
      ASSERT_LE(binding.keyCount, kMaxBoundInputs);
      ASSERT_LE(binding.padCount, kMaxBoundInputs);
    }
    Read again(writeKeyBindings(read.bindings));
    EXPECT_TRUE(sameBindings(again.bindings, read.bindings)) << text;
  }
}

// The game program: problems on standard error naming the file and line, the
// bindings on standard output in the file's form.
TEST(KeyBindings, PrintKeysWritesTheBindingsInForceThatReadBackTheSame) {
  const std::string folder =
      std::filesystem::temp_directory_path() / ("kravix-keys-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder + "/config/kravix");
  const std::string file = folder + "/config/kravix/keys.conf";
  const std::string text = "thrust = W\nfire = Nowhere\npad_pause = start\n";
  std::ofstream(file) << text;
  const pid_t pid = startIn(
      folder,
      {"/bin/sh", "-c", std::string("exec ") + KRAVIX_GAME_PATH + " --print-keys 2>stderr.txt"},
      {"XDG_CONFIG_HOME=" + folder + "/config"});
  ASSERT_EQ(exitStatus(pid, 20), 0);
  const std::string said = readWhole(folder + "/stderr.txt");
  for (const char* problem : {":2: unknown key \"Nowhere\"", ":3: start is bound to both"})
    EXPECT_NE(said.find("kravix: " + file + problem), std::string::npos) << said;
  Read direct(text);
  KeyBindings printed{};
  std::vector<BindingProblem> problems;
  readKeyBindings(readWhole(folder + "/stdout.txt"), printed, problems);
  EXPECT_TRUE(sameBindings(printed, direct.bindings));
  EXPECT_EQ(problems.size(), 1u);  // start on both, as in force
  std::filesystem::remove_all(folder);
}

}  // namespace
