#include "video/screenshot.h"

#include <cstdio>

#include "input/controls.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "video/text.h"

namespace {

constexpr int kLastShot = 99;
constexpr int kProgressRows = 7;  // the box covers rows 0..6

// The first of screen00.ppm..screen99.ppm that cannot be opened; screen99.ppm
// when all exist. Every name tried is announced on standard output.
void chooseShotName(char (&name)[13]) {
  for (int n = 0; n <= kLastShot; ++n) {
    name[6] = static_cast<char>('0' + n / 10);
    name[7] = static_cast<char>('0' + n % 10);
    std::printf("test %s\n", name);
    FILE* existing = std::fopen(name, "rb");
    if (!existing) return;
    std::fclose(existing);
  }
}

// Drawn into the frame only; rows 0..6 are already saved when it first appears.
void drawProgressBox(int y) {
  fillRect(99, 0, 193, 6, 3);
  fillRect(100, 1, 192, 5, 0);
  drawText(100, 1, 15, "SAVING SCREEN:       %");
  drawNumber(176, 1, 15, y / 2);
}

// Six-bit palette components scaled by 4, one byte at a time; write errors are ignored.
void writePixelRow(FILE* file, int y) {
  for (int x = 0; x < kScreenWidth; ++x) {
    const uint8_t* rgb = defaultPalette.rgb[getPixel(x, y)];
    for (int component = 0; component < 3; ++component) std::fputc(rgb[component] * 4, file);
  }
}

// One file per press: wait for F3 to go up (F12 still ends everything).
void waitForScreenshotKeyUp() {
  do {
    pollControls();
  } while (controls.screenshot && !controls.quickExit);
}

}  // namespace

void saveScreenshot() {
  char name[13] = "screen00.ppm";
  chooseShotName(name);
  FILE* file = std::fopen(name, "wb");
  if (!file) return;
  std::fputs("P6\n320 200\n255\n", file);
  for (int y = 0; y < kScreenHeight; ++y) {
    if (y >= kProgressRows) drawProgressBox(y);
    writePixelRow(file, y);
  }
  waitForScreenshotKeyUp();
  std::fputc(255, file);
  std::fclose(file);
}
