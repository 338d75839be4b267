#include "screens/screenshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "input/controls.h"
#include "input/key_wait.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "video/text.h"

namespace {

constexpr int kLastShot = 99;
constexpr int kProgressRows = 7;  // the box covers rows 0..6

// screen99.ppm when all hundred names are taken: overwritten only when it is
// a plain file of its own, never through a link or into a file of another name.
int overwriteLastShot(const char* name) {
  int fd = open(name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat file {};
  if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_nlink == 1 && ftruncate(fd, 0) == 0)
    return fd;
  close(fd);
  return -1;
}

// The first of screen00.ppm..screen99.ppm that does not exist, created at once
// so that nothing can take its place (a dangling link counts as taken). Every
// name tried is announced on standard output. -1 when nothing can be written.
int createShotFile(char (&name)[13]) {
  for (int n = 0; n <= kLastShot; ++n) {
    name[6] = static_cast<char>('0' + n / 10);
    name[7] = static_cast<char>('0' + n % 10);
    std::printf("test %s\n", name);
    int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return overwriteLastShot(name);
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
  waitForKeys([] { return !controls.screenshot || controls.quickExit; }, FirstPoll::kAlways);
}

}  // namespace

void saveScreenshot() {
  char name[13] = "screen00.ppm";
  int fd = createShotFile(name);
  FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) {
    if (fd >= 0) close(fd);
    return;
  }
  std::fputs("P6\n320 200\n255\n", file);
  for (int y = 0; y < kScreenHeight; ++y) {
    if (y >= kProgressRows) drawProgressBox(y);
    writePixelRow(file, y);
  }
  waitForScreenshotKeyUp();
  std::fputc(255, file);
  std::fclose(file);
}
