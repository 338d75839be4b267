#include "sound/samples.h"

int32_t recordLength(const uint8_t* record) {
  uint32_t length = static_cast<uint32_t>(record[0]) | static_cast<uint32_t>(record[1]) << 8 |
                    static_cast<uint32_t>(record[2]) << 16 | static_cast<uint32_t>(record[3]) << 24;
  return static_cast<int32_t>(length);
}

const uint8_t* recordBytes(const uint8_t* record) {
  return record + 4;
}
