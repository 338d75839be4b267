// Video seam: the console graphics calls the game was written against.
// Owns the visible picture (video memory) and the 256-entry palette.
// The game draws into its own frame buffer and copies it here; the backend
// (SDL2 window or headless memory) turns it into pixels. Chosen at link time.
#pragma once

constexpr int TEXT = 0;
constexpr int G320x200x256 = 5;

// The picture of that mode, for the game and every backend: palette indices row after row.
constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 200;
constexpr int kFrameBytes = kScreenWidth * kScreenHeight;

// Switches mode; 0 on success, non-zero when the mode is not available.
int vga_setmode(int mode);
// The kFrameBytes of video memory, kScreenWidth per row; valid after a successful
// vga_setmode(G320x200x256).
unsigned char* vga_getgraphmem();
// Sets one palette entry; components 0..63.
int vga_setpalette(int index, int red, int green, int blue);
// Makes the current video memory and palette visible (the window is redrawn, paced by the backend).
void vga_present();
