// The score file at scoreFilePath: six Settings bytes, 21 records of 23 bytes
// with scrambled names, and a three-byte checksum over the records (492 bytes).
// The main cycle loads it once at start-up and saves it after every pass.
// Nothing is read or written when scoreFilePath is empty; a save goes through
// a temporary file renamed over the old one, so it never leaves half a file.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kScoreFileBytes = 492;

// The file image of Settings and the table as they stand, with fresh filler bytes.
void encodeScoreFile(uint8_t bytes[kScoreFileBytes]);
// Takes the six Settings bytes as they are and, when the checksum holds, the table;
// otherwise resets the table. Bytes at or past `size` count as 255.
void decodeScoreFile(const uint8_t* bytes, size_t size);
// A flag that is not 0 becomes 1; a turnSpeed outside 30..70 becomes 50.
void bringSettingsIntoRange();

// A file that cannot be opened, or is not a regular file, leaves everything as it was.
void loadScoreFile();
// A failed write leaves the old file as it was; no message either way.
void saveScoreFile();
