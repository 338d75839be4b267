// PNG files written without a library, for the build's pictures (icons and
// screenshots): 8-bit RGB, no interlace. The zlib stream is one deflate
// block in the fixed Huffman code whose matches copy the pixel to the left
// or the row above, all that flat pixel art needs to stay small. CRC-32 and
// Adler-32 are computed here. Only the build's tools link it, never the game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // rows top to bottom, three bytes a pixel
};

uint32_t crc32Of(const uint8_t* bytes, size_t count, uint32_t crc = 0);
uint32_t adler32Of(const std::vector<uint8_t>& bytes);
// The zlib stream (header, one fixed-code deflate block, Adler-32) of bytes
// made of rows of `stride` bytes, each pixel `pixelBytes` wide.
std::vector<uint8_t> deflateRows(const std::vector<uint8_t>& bytes, size_t stride,
                                 size_t pixelBytes);
std::vector<uint8_t> encodePng(const RgbPicture& picture);
// False, with nothing said, when the file cannot be written whole.
bool writePng(const std::string& path, const RgbPicture& picture);
