#include <algorithm>
#include <cstdio>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/script/script_format.h"

namespace {

bool writeFile(const std::string& path, const unsigned char* bytes, size_t count,
               const char* header) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fputs(header, file) >= 0 && std::fwrite(bytes, 1, count, file) == count;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

void headlessSetOutDir(const std::string& folder) {
  headlessState().outDir = folder;
}

bool headlessWriteShot(const std::string& name) {
  const HeadlessState& state = headlessState();
  static unsigned char rgb[kFrameBytes * 3];
  for (int i = 0; i < kFrameBytes; ++i) {
    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = state.palette[state.videoMemory[i] * 3 + c] * 4;
  }
  static unsigned char indexed[kFrameBytes + 768];
  std::copy(state.videoMemory, state.videoMemory + kFrameBytes, indexed);
  std::copy(state.palette, state.palette + 768, indexed + kFrameBytes);
  std::string base = state.outDir + "/" + name;
  bool ok = writeFile(base + ".ppm", rgb, sizeof rgb, "P6\n320 200\n255\n") &&
            writeFile(base + ".idx", indexed, sizeof indexed, "");
  if (!ok) std::fprintf(stderr, "kravix-headless: cannot write %s\n", printable(base, 300).c_str());
  return ok;
}
