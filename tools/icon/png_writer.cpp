#include "png_writer.h"

#include <array>
#include <fstream>

namespace {

constexpr size_t kMinMatch = 3, kMaxMatch = 258;

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // Values and extra bits go least significant bit first.
  void bits(uint32_t value, int count) {
    buffer_ |= value << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_.push_back(static_cast<uint8_t>(buffer_));
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  // Huffman codes go most significant bit first.
  void code(uint32_t code, int length) {
    for (int bit = length - 1; bit >= 0; --bit) bits((code >> bit) & 1, 1);
  }
  void flush() {
    if (filled_ > 0) out_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    filled_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t buffer_ = 0;
  int filled_ = 0;
};

// The fixed literal/length code of deflate.
void writeSymbol(BitWriter& out, int symbol) {
  if (symbol < 144) {
    out.code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    out.code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    out.code(symbol - 256, 7);
  } else {
    out.code(0xc0 + symbol - 280, 8);
  }
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

template <size_t N>
int codeIndex(const std::array<int, N>& bases, int value) {
  int index = 0;
  while (index + 1 < static_cast<int>(N) && bases[index + 1] <= value) ++index;
  return index;
}

void writeMatch(BitWriter& out, int length, int distance) {
  const int lengthCode = codeIndex(kLengthBase, length);
  writeSymbol(out, 257 + lengthCode);
  out.bits(length - kLengthBase[lengthCode], kLengthExtra[lengthCode]);
  const int distanceCode = codeIndex(kDistanceBase, distance);
  out.code(distanceCode, 5);
  out.bits(distance - kDistanceBase[distanceCode], kDistanceExtra[distanceCode]);
}

size_t matchLength(const std::vector<uint8_t>& bytes, size_t at, size_t distance) {
  if (distance == 0 || distance > at || distance > 32768) return 0;
  size_t length = 0;
  while (at + length < bytes.size() && length < kMaxMatch &&
         bytes[at + length] == bytes[at + length - distance]) {
    ++length;
  }
  return length;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& png, const char type[5], const std::vector<uint8_t>& data) {
  putBigEndian(png, static_cast<uint32_t>(data.size()));
  const size_t typeAt = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  putBigEndian(png, crc32Of(png.data() + typeAt, png.size() - typeAt));
}

}  // namespace

uint32_t crc32Of(const uint8_t* bytes, size_t count, uint32_t crc) {
  crc = ~crc;
  for (size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

uint32_t adler32Of(const std::vector<uint8_t>& bytes) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> deflateRows(const std::vector<uint8_t>& bytes, size_t stride,
                                 size_t pixelBytes) {
  std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32K window, no dictionary
  BitWriter writer(out);
  writer.bits(1, 1);  // the final block
  writer.bits(1, 2);  // fixed Huffman codes
  for (size_t at = 0; at < bytes.size();) {
    const size_t left = matchLength(bytes, at, pixelBytes), above = matchLength(bytes, at, stride);
    const size_t length = std::max(left, above);
    if (length >= kMinMatch) {
      writeMatch(writer, static_cast<int>(length),
                 static_cast<int>(left >= above ? pixelBytes : stride));
      at += length;
    } else {
      writeSymbol(writer, bytes[at++]);
    }
  }
  writeSymbol(writer, 256);
  writer.flush();
  putBigEndian(out, adler32Of(bytes));
  return out;
}

std::vector<uint8_t> encodePng(const RgbPicture& picture) {
  const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
  std::vector<uint8_t> rows;  // each row behind its filter byte, 0: none
  rows.reserve((rowBytes + 1) * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    rows.push_back(0);
    const auto first = picture.rgb.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    rows.insert(rows.end(), first, first + static_cast<std::ptrdiff_t>(rowBytes));
  }
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  std::vector<uint8_t> header;
  putBigEndian(header, static_cast<uint32_t>(picture.width));
  putBigEndian(header, static_cast<uint32_t>(picture.height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter method 0, no interlace
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", deflateRows(rows, rowBytes + 1, 3));
  putChunk(png, "IEND", {});
  return png;
}

bool writePng(const std::string& path, const RgbPicture& picture) {
  const std::vector<uint8_t> png = encodePng(picture);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(file.flush());
}
