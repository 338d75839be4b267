#include "video/video_mode.h"

#include <cstdio>
#include <cstdlib>

#include "platform/vga.h"

uint8_t* videoMemory = nullptr;

void setVideoMode() {
  if (vga_setmode(G320x200x256) != 0) {
    std::printf("vga_setmode: Graphic mode G320x200x256 not available.\n");
    std::fflush(stdout);
    vga_setmode(TEXT);
    std::exit(1);
  }
  videoMemory = vga_getgraphmem();
}

void setTextMode() {
  vga_setmode(TEXT);
  videoMemory = nullptr;
}
