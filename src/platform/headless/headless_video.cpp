#include <cstring>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/script/demo_session.h"
#include "platform/script/script_player.h"
#include "platform/vga.h"

HeadlessState& headlessState() {
  static HeadlessState state;
  return state;
}

int vga_setmode(int mode) {
  HeadlessState& state = headlessState();
  if (mode == G320x200x256) {
    state.graphicsMode = true;
    std::memset(state.videoMemory, 0, sizeof state.videoMemory);
    return 0;
  }
  if (mode == TEXT) {
    state.graphicsMode = false;
    return 0;
  }
  return -1;
}

unsigned char* vga_getgraphmem() {
  return headlessState().videoMemory;
}

int vga_setpalette(int index, int red, int green, int blue) {
  if (index < 0 || index > 255) return -1;
  uint8_t* entry = &headlessState().palette[index * 3];
  entry[0] = static_cast<uint8_t>(red & 63);
  entry[1] = static_cast<uint8_t>(green & 63);
  entry[2] = static_cast<uint8_t>(blue & 63);
  return 0;
}

void vga_present() {
  ++headlessState().presents;
}

const unsigned char* headlessScreen() {
  return headlessState().videoMemory;
}
const unsigned char* headlessPalette() {
  return headlessState().palette;
}
long headlessPresentCount() {
  return headlessState().presents;
}
bool headlessInGraphicsMode() {
  return headlessState().graphicsMode;
}

void headlessReset() {
  headlessState() = HeadlessState{};
  scriptPlayer() = ScriptPlayer{};
  setDemoStart(DemoStart::kScoreFile, DemoTable{});
}
