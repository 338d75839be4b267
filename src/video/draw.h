// Lines, circle outlines and opaque 16x16 images, all through putPixel.
// Lines and circles rely on putPixel to drop what lies outside the frame;
// drawSprite16 clips pixel by pixel and writes zeros as black.
#pragma once

#include <cstdint>

void drawLine(int x1, int y1, int x2, int y2, uint8_t colour);
void drawCircle(int cx, int cy, int radius, uint8_t colour);
void drawSprite16(int x, int y, const uint8_t* image);
