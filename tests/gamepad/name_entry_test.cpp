// Typing a name through the SDL2 keyboard: each key types the letter printed
// on it in the player's layout (stood in by a table of the test's own), and a
// letter key the player has bound to an action still types its letter.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/sdl/keys_file.h"
#include "platform/sdl/sdl_layout.h"
#include "poll_hook.h"
#include "scores/high_score_screens.h"
#include "scores/score_table.h"
#include "state/game_state.h"
#include "support/test_support.h"

namespace {

// Y and Z change places, as on a German keyboard; the keys file binds Y to fire.
SDL_Keycode germanLayout(SDL_Scancode key) {
  if (key == SDL_SCANCODE_Y) return SDLK_z;
  if (key == SDL_SCANCODE_Z) return SDLK_y;
  if (key >= SDL_SCANCODE_A && key <= SDL_SCANCODE_Z) return SDLK_a + (key - SDL_SCANCODE_A);
  return SDLK_UNKNOWN;
}

// One key event before each poll: each key pressed, then released; then,
// once the entry takes Enter (after 500 passes), Enter.
std::vector<SDL_Event> keyEvents;
size_t nextEvent = 0;

void pushKeyEvent() {
  if (nextEvent >= keyEvents.size()) return;
  SDL_Event& event = keyEvents[nextEvent++];
  if (event.type != SDL_FIRSTEVENT) SDL_PushEvent(&event);
}

void addKey(SDL_Scancode key) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = key;
    keyEvents.push_back(event);
  }
}

void typeKeys(const std::vector<SDL_Scancode>& keys) {
  keyEvents.clear();
  nextEvent = 0;
  for (SDL_Scancode key : keys) addKey(key);
  keyEvents.resize(510, SDL_Event{SDL_FIRSTEVENT});
  addKey(SDL_SCANCODE_RETURN);
  beforeEachPoll = pushKeyEvent;
}

class NameEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = makeTempFolder("name-entry-layout");
    std::filesystem::create_directories(folder + "/kravix");
    std::ofstream(folder + "/kravix/keys.conf") << "turn_left = J\nfire = Y\n";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    forgetPlayerKeyBindings();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    startHeadlessVideo();
    resetScoreTable();
    gameState.score = 99999;
  }
  void TearDown() override {
    beforeEachPoll = nullptr;
    setKeyLookup(nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  std::string folder;
};

TEST_F(NameEntry, EachKeyTypesItsLetterInThePlayersLayoutBoundOrNot) {
  setKeyLookup(germanLayout);
  typeKeys({SDL_SCANCODE_Y, SDL_SCANCODE_Z, SDL_SCANCODE_A});
  enterHighScoreName();
  EXPECT_STREQ(highScoreNames[kScoreRows - 1], "ZYA");
}

}  // namespace
