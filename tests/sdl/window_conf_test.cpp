#include "platform/sdl/window_conf.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sdl/sdl_display.h"
#include "sdl_session.h"

namespace {

TEST(WindowConf, DamagedOrForeignTextIsRefusedAndLeavesThePlaceAlone) {
  for (const char* text :
       {"", "width=960\n", "width=960\nheight=720\nx=5\n", "width=960\nheight=720\nwidth=800\n",
        "width=96O\nheight=720\n", "width=960 \nheight=720\n", "width=100\nheight=720\n",
        "width=960\nheight=720\nfullscreen=2\n", "[window]\nwidth=960\n",
        "width=960\nheight=720\ncolour=red\n", "width=99999999999999\nheight=720\n",
        "\177ELF\2\1\1"}) {
    WindowPlace place{1000, 750, false, 0, 0, false};
    EXPECT_FALSE(parseWindowConf(text, place)) << text;
    EXPECT_EQ(place.width, 1000);
  }
  WindowPlace place;
  EXPECT_FALSE(parseWindowConf(std::string(5000, '#'), place));
  EXPECT_TRUE(parseWindowConf("# a comment\n\nheight=480\nwidth=640\n", place));
  EXPECT_EQ(place.width, 640);
  EXPECT_FALSE(place.placed);
}

TEST(WindowConf, TheFileLivesUnderTheConfigHomeOrElseUnderHomeDotConfig) {
  std::string config = std::getenv("XDG_CONFIG_HOME");
  EXPECT_EQ(windowConfPath(), config + "/kravix/window.conf");
  setenv("XDG_CONFIG_HOME", "", 1);
  setenv("HOME", "/home/pilot", 1);
  EXPECT_EQ(windowConfPath(), "/home/pilot/.config/kravix/window.conf");
  setenv("HOME", "", 1);
  EXPECT_EQ(windowConfPath(), "");
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

// Under the dummy driver: the window closes into the file and opens from it.
TEST(WindowConf, TheWindowOpensAsItWasLeftAndADamagedFileOnlyCostsAMessage) {
  std::filesystem::remove(windowConfPath());
  ASSERT_EQ(vga_setmode(G320x200x256), 0);
  SDL_SetWindowSize(sdlDisplay().window, 1024, 640);
  vga_setmode(TEXT);
  ASSERT_EQ(vga_setmode(G320x200x256), 0);
  int width = 0, height = 0;
  SDL_GetWindowSize(sdlDisplay().window, &width, &height);
  EXPECT_EQ(std::pair(width, height), std::pair(1024, 640));
  vga_setmode(TEXT);

  std::ofstream(windowConfPath(), std::ios::trunc) << "width=1024\nheight=\x01\x02\n";
  testing::internal::CaptureStderr();
  ASSERT_EQ(vga_setmode(G320x200x256), 0);
  std::string said = testing::internal::GetCapturedStderr();
  SDL_GetWindowSize(sdlDisplay().window, &width, &height);
  EXPECT_EQ(width, 960);
  EXPECT_NE(said.find(windowConfPath() + " is damaged"), std::string::npos) << said;
  vga_setmode(TEXT);
}

}  // namespace
