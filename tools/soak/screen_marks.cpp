#include "screen_marks.h"

#include <cstring>
#include <vector>

#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

struct Mark {
  Screen screen;
  int x, y;
  unsigned char colour;
  const char* text;
  std::vector<int> inked;  // offsets of the text's pixels
  int left, top, right, bottom;
};

// Checked in this order: the first whose text is on the screen wins.
std::vector<Mark> marks = {
    {Screen::kNameEntry, 70, 2, 10, "PLEASE ENTER YOUR NAME:", {}, 0, 0, 0, 0},
    {Screen::kHighScores, 100, 10, 10, "H I G H S C O R E S", {}, 0, 0, 0, 0},
    {Screen::kTitle, 20, 165, 15, "A - TURN LEFT", {}, 0, 0, 0, 0},
    {Screen::kIntro, 120, 90, 45, "LEVEL:", {}, 0, 0, 0, 0},
    {Screen::kHelp, 80, 20, 31, "     H   E   L   P", {}, 0, 0, 0, 0},
    {Screen::kOptions, 100, 30, 42, "O  P  T  I  O  N  S  :", {}, 0, 0, 0, 0},
    {Screen::kPause, 137, 96, 7, "P A U S I N G", {}, 0, 0, 0, 0},
};

// Every pixel of the text in its colour, and not a block of that colour.
bool shows(const Mark& mark, const unsigned char* shown) {
  for (int offset : mark.inked) {
    if (shown[offset] != mark.colour) return false;
  }
  for (int y = mark.top; y <= mark.bottom; ++y) {
    for (int x = mark.left; x <= mark.right; ++x) {
      if (shown[y * kScreenWidth + x] != mark.colour) return true;
    }
  }
  return false;
}

}  // namespace

const char* screenName(Screen screen) {
  static const char* const names[kScreenKinds] = {"title", "intro",   "flying",     "pause",
                                                  "help",  "options", "name entry", "high scores"};
  return names[static_cast<int>(screen)];
}

void prepareScreenMarks() {
  for (Mark& mark : marks) {
    std::memset(frameBuffer.pixels, 0, kFrameBytes);
    drawText(mark.x, mark.y, mark.colour, mark.text);
    mark.left = kScreenWidth, mark.top = kScreenHeight, mark.right = -1, mark.bottom = -1;
    for (int offset = 0; offset < kFrameBytes; ++offset) {
      if (frameBuffer.pixels[offset] != mark.colour) continue;
      mark.inked.push_back(offset);
      const int x = offset % kScreenWidth, y = offset / kScreenWidth;
      if (x < mark.left) mark.left = x;
      if (x > mark.right) mark.right = x;
      if (y < mark.top) mark.top = y;
      if (y > mark.bottom) mark.bottom = y;
    }
  }
  std::memset(frameBuffer.pixels, 0, kFrameBytes);
}

Screen recogniseScreen(const unsigned char* shown) {
  for (const Mark& mark : marks) {
    if (shows(mark, shown)) return mark.screen;
  }
  return Screen::kFlying;
}
