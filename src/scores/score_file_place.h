// What stands at the score file's path, and the safe ways to replace it. Only
// the game's own file is ever replaced: nothing at all, an empty file, or a
// regular file of the score file's size. A symbolic link (wherever it leads),
// anything that is not a regular file, a file that cannot be read and any other
// file belong to the player and stay as they are; the game says so once.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

enum class ScoreFilePlace { Missing, Own, Foreign, Link, NotRegular, Unreadable };

struct ScoreFileFound {
  ScoreFilePlace place = ScoreFilePlace::Missing;
  int error = 0;    // why an Unreadable file could not be opened
  mode_t mode = 0;  // the permissions a save keeps
  dev_t device = 0;
  ino_t inode = 0;
  size_t size = 0;  // bytes read, at most the capacity asked for
};

// Looks at path without following a link or waiting on a FIFO; reads up to
// `capacity` bytes of a regular file into `bytes`.
ScoreFileFound inspectScoreFile(const char* path, uint8_t* bytes, size_t capacity);
bool mayReplace(const ScoreFileFound& found);

enum class SaveResult { Saved, NoTemporaryFile, Failed };
// A new file beside path, written, synced and renamed over it: a kill at any
// moment leaves the old file or the new one. `*error` says why it failed.
SaveResult replaceThroughTemporary(const char* path, const uint8_t* bytes, size_t size, mode_t mode,
                                   int* error);
// The file that `found` saw, overwritten in its place (for a folder that takes
// no new file); not atomic, but never through a link or into another file.
bool rewriteInPlace(const char* path, const ScoreFileFound& found, const uint8_t* bytes,
                    size_t size, int* error);
// Removes the temporary files of saves that were killed before their rename:
// "<path>.XXXXXX" regular files of this user that no running save holds.
void removeSaveLeftovers(const char* path);

// Why the file is left alone, or how the save went, on standard error: the same
// report is said once, until a save goes through again (forgetReports).
void reportLeftAlone(const char* path, const ScoreFileFound& found);
void reportSavedInPlace(const char* path, int temporaryError);
void reportSaveFailed(const char* path, int error);
void forgetReports();
