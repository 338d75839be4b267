// The score file at scoreFilePath: six Settings bytes, 21 records of 23 bytes
// with scrambled names, and a three-byte checksum over the records (492 bytes).
// The main cycle loads it once at start-up and saves it after every pass.
// Nothing is read or written when scoreFilePath is empty. Only the game's own
// file is ever replaced (score_file_place.h), through a temporary file renamed
// over the old one, so a save never leaves half a file.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kScoreFileBytes = 492;
constexpr int kSettingsBytes = 6;  // the file's first bytes
constexpr int kScoreFilePathSize = 256;

// "$HOME/.kravix.sco", or empty when HOME is unset or too long (no score file then).
extern char scoreFilePath[kScoreFilePathSize];

// Builds scoreFilePath from home; leaves it empty when home is null or the path does not fit.
void makeScoreFilePath(const char* home);

// The six Settings fields in the file's order.
uint8_t* settingsField(int index);
// The three bytes at the end are 31 times the sum of the record bytes (or up to 30 more).
bool scoreFileChecksumHolds(const uint8_t bytes[kScoreFileBytes]);
// The file image of Settings and the table as they stand, with fresh filler bytes.
void encodeScoreFile(uint8_t bytes[kScoreFileBytes]);
// Takes the six Settings bytes as they are and, when the checksum holds, the table;
// otherwise resets the table. Bytes at or past `size` count as 255.
void decodeScoreFile(const uint8_t* bytes, size_t size);
// A flag that is not 0 becomes 1; a turnSpeed outside 30..70 becomes 50.
void bringSettingsIntoRange();

// First removes what killed saves left behind. A link, a file that is not a regular
// file or cannot be read leaves everything as it was, and the game says so.
void loadScoreFile();
// A failed write leaves the old file as it was. A file that is not the game's is
// left alone; when the folder takes no new file, the game's own is rewritten in place.
void saveScoreFile();
