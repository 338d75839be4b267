// kravix-levels: a look at the built-in levels.
//   kravix-levels dump N          level N's table (1..8), one record per line
//   kravix-levels render N F.ppm [--route [SCRIPT]]
//                                 the whole 2400x2400 world of level N as a raw PPM
// The picture is drawn by the game's own terrain and turret drawing, one view-sized
// tile at a time, with the ball on its stand and a white cross at the ship's start.
// With --route the path that SCRIPT (by default the stored playthrough) flies
// through the level is drawn over it: magenta to the ball, cyan with it in tow,
// a white ring where the ball was taken.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/script/script_file.h"
#include "route.h"
#include "state/angles.h"
#include "state/level_state.h"
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
               "       kravix-levels render N FILE.ppm [--route [SCRIPT]]\n"
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

struct Rgb {
  unsigned char r, g, b;
};

// A dot of the given radius, clipped to the world.
void paintDot(std::vector<unsigned char>& picture, int x, int y, int radius, Rgb colour) {
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px < 0 || py < 0 || px >= kWorldSize || py >= kWorldSize) continue;
      unsigned char* out = &picture[3 * (static_cast<size_t>(py) * kWorldSize + px)];
      out[0] = colour.r, out[1] = colour.g, out[2] = colour.b;
    }
  }
}

void paintLine(std::vector<unsigned char>& picture, RoutePoint from, RoutePoint to, Rgb colour) {
  const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  for (int i = 0; i <= steps; ++i) {
    const double t = steps ? static_cast<double>(i) / steps : 0;
    paintDot(picture, static_cast<int>(std::lround(from.x + t * (to.x - from.x))),
             static_cast<int>(std::lround(from.y + t * (to.y - from.y))), 1, colour);
  }
}

void paintRing(std::vector<unsigned char>& picture, RoutePoint centre, int radius, Rgb colour) {
  for (int degree = 0; degree < 360; ++degree) {
    const double a = degree * kPi / 180;
    paintDot(picture, centre.x + static_cast<int>(std::lround(radius * std::cos(a))),
             centre.y + static_cast<int>(std::lround(radius * std::sin(a))), 1, colour);
  }
}

void paintRoute(std::vector<unsigned char>& picture, const Route& route) {
  constexpr Rgb kToBall{255, 0, 255}, kInTow{0, 255, 255}, kTag{255, 255, 255};
  for (size_t i = 1; i < route.points.size(); ++i) {
    const RoutePoint& to = route.points[i];
    if (!to.first) paintLine(picture, route.points[i - 1], to, to.towing ? kInTow : kToBall);
  }
  for (const RoutePoint& tag : route.tags) paintRing(picture, tag, 12, kTag);
}

int renderLevel(int level, const char* path, const Route* route) {
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
  if (route) paintRoute(picture, *route);
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

// Runs the script and renders the level with its path; says how far the path goes.
int renderRoute(int level, const char* out, const char* scriptPath) {
  std::string script, error;
  if (!readScriptFile(scriptPath, &script, &error)) {
    std::fprintf(stderr, "kravix-levels: %s\n", error.c_str());
    return 1;
  }
  Route route;
  if (!recordRoute(script, level, &route, &error)) {
    std::fprintf(stderr, "kravix-levels: %s: %s\n", scriptPath, error.c_str());
    return 1;
  }
  int attempts = 0;
  for (const RoutePoint& point : route.points) attempts += point.first;
  std::printf("level %d: %zu route points in %d attempts, ball taken %zu times\n", level + 1,
              route.points.size(), attempts, route.tags.size());
  return renderLevel(level, out, &route);
}

}  // namespace

int main(int argc, char** argv) {
  int level = 0;
  if (argc == 3 && std::strcmp(argv[1], "dump") == 0 && parseLevel(argv[2], &level)) {
    return dumpLevel(level);
  }
  const bool render = argc >= 4 && std::strcmp(argv[1], "render") == 0;
  if (render && argc == 4 && parseLevel(argv[2], &level))
    return renderLevel(level, argv[3], nullptr);
  if (render && argc <= 6 && std::strcmp(argv[4], "--route") == 0 && parseLevel(argv[2], &level)) {
    return renderRoute(level, argv[3], argc == 6 ? argv[5] : KRAVIX_PLAYTHROUGH_PATH);
  }
  return usage();
}
