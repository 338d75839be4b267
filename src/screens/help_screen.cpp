#include "screens/help_screen.h"

#include "input/controls.h"
#include "input/key_wait.h"
#include "state/level_state.h"
#include "video/frame_buffer.h"
#include "video/text.h"

namespace {

struct HelpLine {
  int offset;  // rows below the text's top
  const char* text;
};

// Every colon sits in the twelfth character cell.
constexpr HelpLine kHelpText[] = {
    {0, "     H   E   L   P"},       {20, "         A : TURN LEFT"},
    {30, "         S : TURN RIGHT"}, {40, "RIGH_SHIFT : THRUST"},
    {50, "    RETURN : FIRE"},       {60, "     SPACE : TAG BALL"},
    {70, "       ESC : EXIT"},       {90, "        F1 : HELP"},
    {100, "        F2 : PAUSE"},     {110, "        F3 : SCREENSHOT"},
    {120, "        F4 : OPTIONS"},   {130, "       F12 : QUICK EXIT"},
};

void drawHelpText(int x, int y, uint8_t colour) {
  for (const HelpLine& line : kHelpText) drawText(x, y + line.offset, colour, line.text);
}

// Grey copies one pixel left, right, below and above, then the white text on top.
void drawOutlinedHelpText() {
  drawHelpText(79, 20, 25);
  drawHelpText(81, 20, 25);
  drawHelpText(80, 21, 25);
  drawHelpText(80, 19, 25);
  drawHelpText(80, 20, 31);
}

bool leaveKeyHeld() {
  return controls.fire || controls.help || controls.escape || controls.quickExit;
}

}  // namespace

void runHelpScreen() {
  showFrame(0, kScreenHeight);
  clearOneShotControls();
  // The F1 that opened the screen must be let go before any key closes it.
  bool openingF1Held = true;
  while (openingF1Held || !leaveKeyHeld()) {
    pollControls();
    if (!controls.help) openingF1Held = false;
    drawOutlinedHelpText();
    showFrame(0, kScreenHeight);
  }
  clearOneShotControls();
  // An Escape that closed this screen must not also leave the level.
  waitForKeys([] { return !controls.escape; }, FirstPoll::kAlways);
  resumeFromStandstill();
}
