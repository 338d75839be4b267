// kravix-levels: a look at the built-in levels.
//   kravix-levels dump N          level N's table (1..8), one record per line
//   kravix-levels render N F.ppm  the whole 2400x2400 world of level N as a raw PPM
// The picture is drawn by the game's own terrain and turret drawing, one view-sized
// tile at a time, with the ball on its stand and a white cross at the ship's start.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/level_state.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "world/level_data.h"
#include "world/terrain.h"
#include "world/turrets.h"

namespace {

constexpr int kWorldSize = 2400;
constexpr int kStartX = 1200, kStartY = 550;

int usage() {
  std::fprintf(stderr,
               "usage: kravix-levels dump N\n"
               "       kravix-levels render N FILE.ppm\n"
               "N is a level number, 1..8\n");
  return 2;
}

bool parseLevel(const char* text, int* level) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 1 || value > kLevelCount) return false;
  *level = static_cast<int>(value) - 1;
  return true;
}

// Prints `count` words of the table from *position on, on one line; false past its end.
bool printRecord(const LevelTable& table, int* position, int count) {
  if (*position + count > table.count) return false;
  for (int i = 0; i < count; ++i) std::printf(i ? " %d" : "%d", table.words[*position + i]);
  std::printf("\n");
  *position += count;
  return true;
}

int dumpLevel(int level) {
  const LevelTable& table = levelTables[level];
  int position = 0;
  bool whole = true;
  for (int box = 0; box < kBoxSlots && whole; ++box) {
    const bool terminator = position + 4 < table.count && table.words[position + 4] == 0;
    whole = printRecord(table, &position, 5);
    if (terminator) break;
  }
  whole = whole && printRecord(table, &position, 2);
  const int lastTurret = position < table.count ? table.words[position] : -1;
  whole = whole && printRecord(table, &position, 1);
  for (int i = 0; i <= lastTurret && whole; ++i) whole = printRecord(table, &position, 3);
  if (!whole) {
    std::fprintf(stderr, "kravix-levels: level %d's table ends early\n", level + 1);
    return 1;
  }
  return 0;
}

// An outline of each turret's image, so the picture shows them even where the
// turret drawing paints nothing; drawTurrets then paints the real images over it.
void drawTurretFootprints() {
  for (int i = 0; i <= lastTurret; ++i) {
    const Turret& turret = turrets[i];
    if (turret.kind != kFloorTurret && turret.kind != kCeilingTurret) continue;
    const int x = turret.x - levelState.cameraX, y = turret.y - levelState.cameraY;
    const int base = turret.kind == kFloorTurret ? y + 8 : y;
    const int dome = turret.kind == kFloorTurret ? y + 2 : y + 8;
    fillRect(x, base, x + 15, base + 7, 27);
    fillRect(x + 3, dome, x + 12, dome + 5, 24);
  }
}

void drawBallOnStand() {
  const int bx = levelState.ballX - levelState.cameraX, by = levelState.ballY - levelState.cameraY;
  drawLine(bx, by, bx + 6, by + 11, 7);
  drawLine(bx, by, bx - 6, by + 11, 7);
  drawCircle(bx, by, 3, 29);
}

void drawStartMark() {
  const int x = kStartX - levelState.cameraX, y = kStartY - levelState.cameraY;
  drawLine(x - 4, y, x + 4, y, 15);
  drawLine(x, y - 4, x, y + 4, 15);
}

void copyTile(std::vector<unsigned char>& picture) {
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      const uint8_t* rgb = defaultPalette.rgb[frameBuffer.pixels[y * kScreenWidth + x]];
      unsigned char* out =
          &picture[3 * ((levelState.cameraY + y) * static_cast<size_t>(kWorldSize) +
                        levelState.cameraX + x)];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>(rgb[c] * 4);
    }
  }
}

int renderLevel(int level, const char* path) {
  buildLevel(level, 1);
  makeCeilingSprite();
  std::vector<unsigned char> picture(3 * static_cast<size_t>(kWorldSize) * kWorldSize);
  for (int top = 0; top < kWorldSize; top += kScreenHeight) {
    for (int left = 0; left < kWorldSize; left += kScreenWidth) {
      levelState.cameraX = left + kScreenWidth > kWorldSize ? kWorldSize - kScreenWidth : left;
      levelState.cameraY = top;
      clearFrame(0, kScreenHeight);
      drawTerrain();
      drawTurretFootprints();
      drawTurrets();
      drawBallOnStand();
      drawStartMark();
      copyTile(picture);
    }
  }
  FILE* file = std::fopen(path, "wb");
  if (!file) {
    std::perror(path);
    return 1;
  }
  std::fprintf(file, "P6\n%d %d\n255\n", kWorldSize, kWorldSize);
  const bool written = std::fwrite(picture.data(), 1, picture.size(), file) == picture.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "kravix-levels: cannot write %s\n", path);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int level = 0;
  if (argc == 3 && std::strcmp(argv[1], "dump") == 0 && parseLevel(argv[2], &level)) {
    return dumpLevel(level);
  }
  if (argc == 4 && std::strcmp(argv[1], "render") == 0 && parseLevel(argv[2], &level)) {
    return renderLevel(level, argv[3]);
  }
  return usage();
}
