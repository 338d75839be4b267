// The window as the player left it: its size and position as a window, and
// whether it was fullscreen, kept in $XDG_CONFIG_HOME/kravix/window.conf
// (default ~/.config/kravix/) as "key=value" lines. A file that is damaged or
// not ours is ignored with one message on standard error. Free of SDL.
#pragma once

#include <string>

struct WindowPlace {
  int width = 960, height = 720;
  bool placed = false;  // x and y known; otherwise the window is centred
  int x = 0, y = 0;
  bool fullscreen = false;
};

// False when the text is not a window file of ours; `place` is then unchanged.
bool parseWindowConf(const std::string& text, WindowPlace& place);
std::string formatWindowConf(const WindowPlace& place);
// The file's path from XDG_CONFIG_HOME or HOME; empty when neither is set.
std::string windowConfPath();
// The remembered place, or the default one when there is none or it is damaged.
WindowPlace readWindowConf();
void writeWindowConf(const WindowPlace& place);
