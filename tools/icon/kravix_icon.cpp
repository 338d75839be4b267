// kravix-icon: the build's pictures, drawn with the game's own primitives and
// palette and written as PNG.
//   kravix-icon icons DIR           DIR/kravix-N.png for N = 16 32 48 64 128 256
//   kravix-icon screenshot IN OUT   a runner's shot (P6 PPM, 320x200) as a PNG at
//                                   the display's 4:3 shape, every pixel 5 wide, 6 tall
// Small sizes show the ship alone, larger ones the ship towing the ball on its
// rod; every size is a native drawing scaled by a whole number, so it stays crisp.
#include <cstdio>
#include <fstream>
#include <string>

#include "png_writer.h"
#include "state/angles.h"
#include "state/level_state.h"
#include "video/draw.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "world/ship_outline.h"

namespace {

// Where a picture is drawn in the frame: away from its edges, so nothing is clipped.
constexpr int kLeft = 100, kTop = 50;

constexpr uint8_t kCraftColour = 29;  // the ship's and the towed ball's colour in flight
constexpr uint8_t kRodColour = kCraftColour / 2 + 11;
constexpr uint8_t kRockColour = 43;
constexpr float kUpright = kPi;  // the heading of a ship whose nose points up

struct Scene {
  int canvas;  // drawn this many pixels square
  int scale;   // then every pixel repeated this often each way
};

void drawStar(int x, int y, uint8_t grey) {
  putPixel(kLeft + x, kTop + y, grey);
}

// The ship alone, nose up, with a puff of exhaust under its base: 16 pixels.
void drawShipAlone() {
  drawShip(kLeft + 8, kTop + 8, kUpright);
}

// The ship climbing to the right with the ball hanging from the rod, over a
// ledge of rock: 32 pixels.
void drawShipTowing() {
  constexpr int shipX = 12, shipY = 10, ballX = 21, ballY = 27;  // 19.2 apart: the rod is 20
  fillRect(kLeft + 24, kTop + 28, kLeft + 31, kTop + 31, kRockColour);
  fillRect(kLeft + 28, kTop + 22, kLeft + 31, kTop + 27, kRockColour);
  drawStar(3, 25, 26);
  drawStar(27, 4, 24);
  drawStar(22, 13, 20);
  drawStar(5, 3, 18);
  drawLine(kLeft + ballX, kTop + ballY, kLeft + shipX, kTop + shipY, kRodColour);
  drawCircle(kLeft + ballX, kTop + ballY, 3, kCraftColour);
  drawShip(kLeft + shipX, kTop + shipY, kUpright - 0.5f);
}

RgbPicture pictureOf(const Scene& scene) {
  RgbPicture picture{scene.canvas * scene.scale, scene.canvas * scene.scale, {}};
  picture.rgb.reserve(static_cast<size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const uint8_t index = getPixel(kLeft + x / scene.scale, kTop + y / scene.scale);
      for (uint8_t component : defaultPalette.rgb[index]) {
        picture.rgb.push_back(static_cast<uint8_t>((component * 255 + 31) / 63));
      }
    }
  }
  return picture;
}

bool writeIcon(const std::string& folder, const Scene& scene) {
  clearFrame(0, kScreenHeight);
  levelState.craftColour = kCraftColour;
  levelState.shipY = 0;  // in the sky, where nothing can hit the ship
  if (scene.canvas == 16) {
    drawShipAlone();
  } else {
    drawShipTowing();
  }
  const int size = scene.canvas * scene.scale;
  return writePng(folder + "/kravix-" + std::to_string(size) + ".png", pictureOf(scene));
}

int writeIcons(const std::string& folder) {
  constexpr Scene kScenes[] = {{16, 1}, {32, 1}, {16, 3}, {32, 2}, {32, 4}, {32, 8}};
  for (const Scene& scene : kScenes) {
    if (!writeIcon(folder, scene)) {
      std::fprintf(stderr, "kravix-icon: cannot write into %s\n", folder.c_str());
      return 1;
    }
  }
  return 0;
}

bool readPpm(const std::string& path, RgbPicture& picture) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  if (!(file >> magic >> picture.width >> picture.height >> maximum) || magic != "P6" ||
      maximum != 255 || picture.width <= 0 || picture.height <= 0 || picture.width > 4096 ||
      picture.height > 4096) {
    return false;
  }
  file.get();  // the one white space after the header
  picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
  return static_cast<bool>(file.read(reinterpret_cast<char*>(picture.rgb.data()),
                                     static_cast<std::streamsize>(picture.rgb.size())));
}

RgbPicture scaled(const RgbPicture& source, int wide, int tall) {
  RgbPicture picture{source.width * wide, source.height * tall, {}};
  picture.rgb.reserve(static_cast<size_t>(picture.width) * picture.height * 3);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const size_t from = (static_cast<size_t>(y / tall) * source.width + x / wide) * 3;
      picture.rgb.insert(picture.rgb.end(), source.rgb.begin() + from,
                         source.rgb.begin() + from + 3);
    }
  }
  return picture;
}

int writeScreenshot(const std::string& in, const std::string& out) {
  RgbPicture shot;
  if (!readPpm(in, shot)) {
    std::fprintf(stderr, "kravix-icon: %s is not a binary PPM picture\n", in.c_str());
    return 1;
  }
  if (!writePng(out, scaled(shot, 5, 6))) {
    std::fprintf(stderr, "kravix-icon: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "icons" && argc == 3) return writeIcons(argv[2]);
  if (command == "screenshot" && argc == 4) return writeScreenshot(argv[2], argv[3]);
  std::fprintf(stderr, "usage: kravix-icon icons DIR | kravix-icon screenshot IN.ppm OUT.png\n");
  return 2;
}
