// A demo recorded on the SDL2 keyboard in a US layout: the whole game, its keys
// pushed as SDL key events, with the headless screen and clock. The runner's
// own keyboard is German, yet the demo replays to the name typed in the window.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "../support/child_process.h"
#include "app/main_cycle.h"
#include "e2e/script_building.h"
#include "platform/headless/headless.h"
#include "platform/script/demo_recorder.h"
#include "platform/script/script_player.h"
#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_layout.h"
#include "platform/sdl/sdl_scancodes.h"
#include "poll_hook.h"
#include "scores/score_file.h"
#include "scores/score_table.h"

namespace {

SDL_Keycode usLayout(SDL_Scancode key) {
  if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return SDLK_a + (key - SDL_SCANCODE_A);
  if (key >= SDL_SCANCODE_1 && key <= SDL_SCANCODE_9) return SDLK_1 + (key - SDL_SCANCODE_1);
  if (key == SDL_SCANCODE_0) return SDLK_0;
  return SDLK_UNKNOWN;
}

// Plays a script through SDL key events: before each poll, a key goes down or
// up wherever the script's keys change; at its end, the window is closed.
ScriptPlayer keys;
KeySet keysDown;

void pushKey(int code, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.keysym.scancode = sdlScanCode(code);
  SDL_PushEvent(&event);
}

void pushKeysForThisPoll() {
  takeScriptPoll(keys);
  const KeySet wanted = keys.done ? KeySet{} : keys.held;
  for (int code = 1; code < 128; ++code) {
    if (wanted.has(code) != keysDown.has(code)) pushKey(code, wanted.has(code));
  }
  keysDown = wanted;
  if (keys.done) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

bool tableHolds(const std::string& scoreFile, const char* name) {
  decodeScoreFile(reinterpret_cast<const uint8_t*>(scoreFile.data()), scoreFile.size());
  for (const auto& row : highScoreNames) {
    if (std::strcmp(row, name) == 0) return true;
  }
  return false;
}

// Level 1 won, Escape on the next intro, then T and the key a US layout prints Z on.
std::string levelWonAndNamed() {
  return levelOneWon() +
         "wait 20\nhold ESC 1\nwait 3\nhold T 1\nwait 1\nhold Z 1\nwait 500\nhold ENTER 1\n"
         "wait 3\n";
}

TEST(DemoLayout, ANameTypedInAUsLayoutReplaysHeadlessAsTyped) {
  const std::string folder = makeTempFolder("demo-layout");
  const std::string replay = folder + "/replay";
  std::filesystem::create_directories(replay);
  setenv("HOME", folder.c_str(), 1);
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);  // no keys file: the default bindings
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  forgetPlayerKeyBindings();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
  setKeyLookup(usLayout);
  ParsedScript script;
  std::string error;
  ASSERT_TRUE(parseScript(levelWonAndNamed(), &script, &error)) << error;
  startScript(keys, std::move(script));
  headlessReset();
  beforeEachPoll = pushKeysForThisPoll;
  ASSERT_TRUE(startDemoRecording((replay + "/game.demo").c_str(), &error)) << error;

  EXPECT_EQ(kravixMain(), 0);
  finishDemoRecording();
  beforeEachPoll = nullptr;
  setKeyLookup(nullptr);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);

  const std::string demo = readWhole(replay + "/game.demo");
  EXPECT_NE(demo.find("\nlayout -1234567890----QWERTYUIOP----ASDFGHJKL-----ZXCVBNM-"),
            std::string::npos);
  EXPECT_EQ(exitStatus(startIn(replay, {KRAVIX_HEADLESS_PATH, "--script", "game.demo"}), 60), 0);
  const std::string saved = readWhole(folder + "/.kravix.sco");
  EXPECT_TRUE(tableHolds(saved, "TZ"));
  EXPECT_EQ(readWhole(replay + "/.kravix.sco"), saved);
  std::filesystem::remove_all(folder);
}

}  // namespace
