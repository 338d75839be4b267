// The SDL2 backend's window under SDL's dummy video driver, whose window
// surface stands in for the screen: what a poll repaints, what the window
// shows, and how the clock and the polls wait while the window is away.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "crisp_reference.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/sdl/sdl_display.h"
#include "platform/vga.h"

namespace {

class SdlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::filesystem::remove(windowConfPath());  // a new window, 960x720
    ASSERT_EQ(vga_setmode(G320x200x256), 0);
    keyboard_init();
    for (int i = 0; i < 256; ++i) {
      colours[i] = {static_cast<uint8_t>(i & 63), static_cast<uint8_t>(63 - (i & 63)),
                    static_cast<uint8_t>(i >> 2)};
      vga_setpalette(i, colours[i][0], colours[i][1], colours[i][2]);
      for (auto& component : colours[i])
        component = static_cast<uint8_t>((component * 255 + 31) / 63);
    }
  }
  void TearDown() override {
    keyboard_close();
    vga_setmode(TEXT);
  }

  static void windowEvent(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  static SDL_Surface* screen() { return SDL_GetWindowSurface(sdlDisplay().window); }
  static std::array<uint8_t, 3> shown(int x, int y) {
    SDL_Surface* surface = screen();
    uint32_t pixel = static_cast<uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x];
    std::array<uint8_t, 3> rgb;
    SDL_GetRGB(pixel, surface->format, &rgb[0], &rgb[1], &rgb[2]);
    return rgb;
  }
  static int64_t clockMicros() {
    timeval now{};
    clock_gettimeofday(&now);
    return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_usec;
  }

  std::array<uint8_t, 3> colours[256];
};

TEST_F(SdlWindow, APollThatFollowsNoPresentPresentsTheCurrentPictureAgain) {
  vga_present();
  keyboard_update();
  uint64_t presents = sdlDisplay().presents;
  keyboard_update();  // a wait: nothing presented since the last poll
  EXPECT_EQ(sdlDisplay().presents, presents + 1);
  vga_getgraphmem()[0] = 200;  // the current picture, as a screen changed it without presenting
  keyboard_update();
  EXPECT_EQ(sdlDisplay().presents, presents + 2);
  EXPECT_EQ(shown(pictureArea(screen()->w, screen()->h).x, 0), colours[200]);
  vga_present();
  keyboard_update();  // a frame's own poll adds nothing
  EXPECT_EQ(sdlDisplay().presents, presents + 3);
}

TEST_F(SdlWindow, TheWindowShowsThePictureScaledByTheCrispRuleAfterAResize) {
  uint8_t* memory = vga_getgraphmem();
  for (int i = 0; i < 64000; ++i)
    memory[i] = static_cast<uint8_t>((i % 320) * 3 + (i / 320) * 11 + (i % 7));
  for (auto [width, height] : {std::pair{960, 720}, {1100, 700}}) {
    SDL_SetWindowSize(sdlDisplay().window, width, height);
    keyboard_update();
    keyboard_update();  // a wait repaints at the new size
    ASSERT_EQ(screen()->w, width);
    PictureArea area = pictureArea(width, height);
    const ReferenceScale reference = referenceScale(area.width, area.height);
    for (int y = 0; y < height; y += 3) {
      for (int x = 0; x < width; x += 2) {
        bool inside =
            x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height;
        std::array<double, 3> wanted{};
        if (inside) wanted = referencePixel(reference, memory, colours, x - area.x, y - area.y);
        auto pixel = shown(x, y);
        for (int c = 0; c < 3; ++c)
          ASSERT_LE(std::abs(pixel[c] - wanted[c]), 2.5)
              << width << "x" << height << " " << x << "," << y;
      }
    }
  }
}

TEST_F(SdlWindow, WhileTheWindowIsAwayPollsWaitAndTheClockStandsStill) {
  for (SDL_WindowEventID going : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED}) {
    SDL_WindowEventID back = going == SDL_WINDOWEVENT_MINIMIZED ? SDL_WINDOWEVENT_RESTORED
                                                                : SDL_WINDOWEVENT_FOCUS_GAINED;
    windowEvent(going);
    keyboard_update();  // takes the event (and releases the keys) without waiting
    std::atomic<bool> cameBack = false;
    std::thread player([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      cameBack = true;
      windowEvent(back);
    });
    int64_t clockBefore = clockMicros();
    auto wallBefore = std::chrono::steady_clock::now();
    keyboard_update();
    int64_t clockSpent = clockMicros() - clockBefore;
    auto wallSpent = std::chrono::steady_clock::now() - wallBefore;
    player.join();
    EXPECT_TRUE(cameBack) << "the poll returned before the window came back";
    EXPECT_LT(clockSpent + 300000,
              std::chrono::duration_cast<std::chrono::microseconds>(wallSpent).count())
        << "the clock ran on while the window was away";
  }
}

TEST_F(SdlWindow, TheCursorHidesInFullscreenAndComesBackInAWindow) {
  keyboard_update();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  toggleFullscreen();
  keyboard_update();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  toggleFullscreen();
  keyboard_update();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlWindow, ClosingTheWindowWhileItIsAwayEndsTheWait) {
  windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  keyboard_update();
  std::thread player([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    windowEvent(SDL_WINDOWEVENT_CLOSE);
  });
  keyboard_update();
  player.join();
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_F12));
}

}  // namespace
