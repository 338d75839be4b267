// The SDL2 backend's window under SDL's dummy video driver, whose window
// surface stands in for the screen: what a poll repaints, what the window
// shows, and how the clock and the polls wait while the window is away.
#include <atomic>
#include <thread>

#include "crisp_reference.h"
#include "platform/clock.h"
#include "platform/sdl/argb_picture.h"
#include "platform/sdl/sdl_display.h"
#include "sdl_session.h"

namespace {

class SdlWindow : public SdlSession {
 protected:
  void SetUp() override {
    std::filesystem::remove(windowConfPath());  // a new window, 960x720
    SdlSession::SetUp();
    for (int i = 0; i < 256; ++i) {
      colours[i] = {static_cast<uint8_t>(i & 63), static_cast<uint8_t>(63 - (i & 63)),
                    static_cast<uint8_t>(i >> 2)};
      vga_setpalette(i, colours[i][0], colours[i][1], colours[i][2]);
      for (auto& component : colours[i])
        component = static_cast<uint8_t>((component * 255 + 31) / 63);
    }
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
  for (auto [width, height] : {std::pair{960, 720}, {1100, 700}, {800, 1000}}) {
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

TEST(FramePacer, PresentsFollowDeadlinesOnePeriodApartAndStartAfreshAfterAStall) {
  FramePacer pacer;
  const uint64_t start = 5'000'000'000;
  EXPECT_EQ(takePresentTime(pacer, start), start);  // the first presents at once
  // Early frames wait for their deadline; a slightly late one presents at once
  // (its deadline has passed) and the next deadline stays where it was, so the average rate holds.
  EXPECT_EQ(takePresentTime(pacer, start + 1'000'000), start + kPacerPeriod);
  uint64_t late = start + 2 * kPacerPeriod + kPacerStallLimit / 2;
  EXPECT_EQ(takePresentTime(pacer, late), start + 2 * kPacerPeriod);
  EXPECT_EQ(takePresentTime(pacer, late + 1'000), start + 3 * kPacerPeriod);
  // After a stall the schedule is anchored at the stalled present, without a rush to catch up.
  uint64_t stalled = start + 10 * kPacerPeriod;
  EXPECT_EQ(takePresentTime(pacer, stalled), stalled);
  EXPECT_EQ(takePresentTime(pacer, stalled + 1'000), stalled + kPacerPeriod);
}

TEST(CrispScale, ThePictureIsTheLargestFourByThreeRectangleCentred) {
  for (auto [width, height, area] : {std::tuple{960, 720, PictureArea{0, 0, 960, 720}},
                                     {1920, 1080, PictureArea{240, 0, 1440, 1080}},
                                     {800, 1000, PictureArea{0, 200, 800, 600}}}) {
    const PictureArea got = pictureArea(width, height);
    EXPECT_EQ(std::tie(got.x, got.y, got.width, got.height),
              std::tie(area.x, area.y, area.width, area.height));
  }
}

TEST(ArgbPicture, SixBitComponentsAreShownRoundedAndOpaque) {
  const uint8_t black[3] = {0, 0, 0}, white[3] = {63, 63, 63}, mixed[3] = {1, 32, 62};
  EXPECT_EQ(shownColour(black), 0xFF000000u);
  EXPECT_EQ(shownColour(white), 0xFFFFFFFFu);
  EXPECT_EQ(shownColour(mixed), 0xFF0482FBu);  // 4.05, 129.52 and 250.95 rounded
}

// Closing the window while it is away ends the wait too, and holds F12.
TEST_F(SdlWindow, WhileTheWindowIsAwayPollsWaitAndTheClockStandsStillTillItComesBackOrCloses) {
  const std::pair<SDL_WindowEventID, SDL_WindowEventID> aways[] = {
      {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_FOCUS_GAINED},
      {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED},
      {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_CLOSE}};
  for (auto [going, back] : aways) {
    pushWindowEvent(going);
    keyboard_update();  // takes the event (and releases the keys) without waiting
    std::atomic<bool> cameBack = false;
    std::thread player([&, back = back] {
      std::this_thread::sleep_for(std::chrono::milliseconds(400));
      cameBack = true;
      pushWindowEvent(back);
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
  keyboard_update();
  EXPECT_TRUE(keyboard_keypressed(SCANCODE_F12));
}

TEST_F(SdlWindow, TheCursorHidesInFullscreenAndComesBackInAWindow) {
  for (int cursor : {SDL_DISABLE, SDL_ENABLE}) {
    toggleFullscreen();
    keyboard_update();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), cursor);
  }
}

}  // namespace
