// Level 1 played out with a gamepad: the whole game on the SDL2 keyboard, fed
// by SDL's virtual joystick, with the headless screen and clock so that the
// flight repeats exactly. The keys of the script that wins level 1 go to the
// pad: A to the left stick held half way, S to the d-pad, right Shift to the
// south button, Space to the west button, Enter to Start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/main_cycle.h"
#include "e2e/script_building.h"
#include "e2e/shot_reading.h"
#include "platform/headless/headless.h"
#include "poll_hook.h"
#include "sdl/virtual_pad.h"

namespace {

struct PadCommand {
  long polls = 0;  // 0: a shot, taken before the next poll
  std::vector<std::string> keys;
  std::string shot;
};

std::vector<PadCommand> parse(const std::string& script) {
  std::vector<PadCommand> commands;
  std::istringstream lines(script);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string verb, word;
    if (!(words >> verb)) continue;
    PadCommand command;
    while (words >> word) command.keys.push_back(word);
    if (verb == "shot") {
      command.shot = command.keys.at(0);
      command.keys.clear();
    } else {
      command.polls = std::stol(command.keys.back());
      command.keys.pop_back();
    }
    commands.push_back(command);
  }
  return commands;
}

struct PadRun {
  VirtualPad pad;
  std::vector<PadCommand> commands;
  size_t next = 0;
  long pollsLeft = 0;
  std::map<std::string, ShotPixels> shots;
};
PadRun run;

bool holds(const PadCommand& command, const char* key) {
  return std::find(command.keys.begin(), command.keys.end(), key) != command.keys.end();
}

void holdOnPad(const PadCommand& command) {
  const VirtualPad& pad = run.pad;
  pad.stick(SDL_CONTROLLER_AXIS_LEFTX, holds(command, "A") ? -50 : 0);
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, holds(command, "S"));
  pad.press(SDL_CONTROLLER_BUTTON_A, holds(command, "RSHIFT"));
  pad.press(SDL_CONTROLLER_BUTTON_X, holds(command, "SPACE"));
  pad.press(SDL_CONTROLLER_BUTTON_START, holds(command, "ENTER"));
}

// Before each poll: the shots due now, then the pad as the current command holds it.
void movePadForThisPoll() {
  while (run.next < run.commands.size() && run.commands[run.next].polls == 0) {
    const unsigned char* screen = headlessScreen();
    run.shots[run.commands[run.next++].shot] = ShotPixels(screen, screen + kFrameBytes);
  }
  if (run.next == run.commands.size()) {
    holdOnPad({});
    SDL_Event quit{};
    quit.type = SDL_QUIT;  // the way out a closed window takes
    SDL_PushEvent(&quit);
    return;
  }
  holdOnPad(run.commands[run.next]);
  if (++run.pollsLeft == run.commands[run.next].polls) {
    run.pollsLeft = 0;
    ++run.next;
  }
}

}  // namespace

TEST(PadPlaysLevelOne, TheBallIsTowedOutAndLevelTwoBegins) {
  const std::string folder =
      std::filesystem::temp_directory_path() / ("kravix-pad-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);  // no keys file: the default pad layout
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK), 0);
  run.pad.plugIn();
  run.commands = parse(levelOneWon() + "wait 20\nshot intro2\n");
  headlessReset();
  beforeEachPoll = movePadForThisPoll;

  EXPECT_EQ(kravixMain(), 0);

  EXPECT_EQ(run.next, run.commands.size());
  ASSERT_EQ(run.shots.size(), 3u);
  EXPECT_GE(countColours(run.shots["level1"], {43}), 1000);  // the cave's rock
  EXPECT_GE(countColours(run.shots["towing"], {25}), 8);     // the rod
  EXPECT_EQ(countColours(run.shots["towing"], {7}), 0);      // the stand went with the ball
  EXPECT_TRUE(showsIntro(run.shots["intro2"], 2, 3));        // no ship lost
  run.pad.pull();
  SDL_Quit();
  std::filesystem::remove_all(folder);
}
