#include "scores/score_file_place.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scores/score_file.h"

namespace {

constexpr char kTemporarySuffix[] = ".XXXXXX";
constexpr size_t kRandomLetters = 6;

bool readUpTo(int fd, uint8_t* bytes, size_t size, size_t* got) {
  *got = 0;
  while (*got < size) {
    ssize_t count = read(fd, bytes + *got, size - *got);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) break;
    *got += static_cast<size_t>(count);
  }
  return true;
}

bool writeAll(int fd, const uint8_t* bytes, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

ScoreFileFound unreadable(int error) {
  ScoreFileFound found;
  found.place = ScoreFilePlace::Unreadable;
  found.error = error;
  return found;
}

// The place of a regular file by its size: empty or a score file's size is the game's.
ScoreFilePlace placeBySize(off_t size) {
  return size == 0 || size == kScoreFileBytes ? ScoreFilePlace::Own : ScoreFilePlace::Foreign;
}

// A file of this user named like the game's temporary files, that no running save holds.
bool isLeftover(int folder, const char* name, const char* scoreName) {
  size_t length = std::strlen(scoreName);
  if (std::strncmp(name, scoreName, length) != 0 || name[length] != '.') return false;
  const char* letters = name + length + 1;
  if (std::strlen(letters) != kRandomLetters) return false;
  for (const char* c = letters; *c; ++c)
    if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
  int fd = openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat file {};
  bool leftover = fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_uid == geteuid() &&
                  file.st_nlink == 1 && flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return leftover;
}

// What was said last: the same report is not repeated until a save goes through.
char lastReport[PATH_MAX + 200];

void reportOnce(const char* format, const char* path, const char* reason) {
  char report[sizeof lastReport];
  std::snprintf(report, sizeof report, format, path, reason);
  if (std::strcmp(report, lastReport) == 0) return;
  std::snprintf(lastReport, sizeof lastReport, "%s", report);
  std::fputs(report, stderr);
}

}  // namespace

ScoreFileFound inspectScoreFile(const char* path, uint8_t* bytes, size_t capacity) {
  ScoreFileFound found;
  struct stat entry {};
  if (lstat(path, &entry) != 0) return errno == ENOENT ? found : unreadable(errno);
  if (S_ISLNK(entry.st_mode)) found.place = ScoreFilePlace::Link;
  if (!S_ISLNK(entry.st_mode) && !S_ISREG(entry.st_mode)) found.place = ScoreFilePlace::NotRegular;
  if (found.place != ScoreFilePlace::Missing) return found;

  int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return unreadable(errno);
  struct stat file {};
  if (fstat(fd, &file) != 0 || file.st_dev != entry.st_dev || file.st_ino != entry.st_ino) {
    close(fd);
    found.place = ScoreFilePlace::NotRegular;  // changed under us: leave it alone
    return found;
  }
  bool read = readUpTo(fd, bytes, capacity, &found.size);
  int error = errno;
  close(fd);
  if (!read) return unreadable(error);
  found.place = placeBySize(file.st_size);
  found.mode = file.st_mode & 07777;
  found.device = file.st_dev;
  found.inode = file.st_ino;
  return found;
}

bool mayReplace(const ScoreFileFound& found) {
  return found.place == ScoreFilePlace::Missing || found.place == ScoreFilePlace::Own;
}

SaveResult replaceThroughTemporary(const char* path, const uint8_t* bytes, size_t size, mode_t mode,
                                   int* error) {
  char temporary[PATH_MAX + sizeof kTemporarySuffix];
  std::snprintf(temporary, sizeof temporary, "%s%s", path, kTemporarySuffix);
  int fd = mkostemp(temporary, O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return SaveResult::NoTemporaryFile;
  }
  // Held until the rename, so that a start meanwhile does not take it for a leftover.
  flock(fd, LOCK_EX);
  // On disk before the rename, so a crash leaves the old file or the new one.
  bool written = fchmod(fd, mode) == 0 && writeAll(fd, bytes, size) && fsync(fd) == 0;
  *error = errno;
  written = close(fd) == 0 && written;
  if (written && rename(temporary, path) == 0) return SaveResult::Saved;
  if (written) *error = errno;
  unlink(temporary);
  return SaveResult::Failed;
}

bool rewriteInPlace(const char* path, const ScoreFileFound& found, const uint8_t* bytes,
                    size_t size, int* error) {
  int fd = open(path, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = errno;
    return false;
  }
  struct stat file {};
  bool same = fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_dev == found.device &&
              file.st_ino == found.inode;
  bool written = same && pwrite(fd, bytes, size, 0) == static_cast<ssize_t>(size) &&
                 ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
  *error = same ? errno : EEXIST;
  close(fd);
  return written;
}

void removeSaveLeftovers(const char* path) {
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return;
  char folderPath[PATH_MAX];
  std::snprintf(folderPath, sizeof folderPath, "%.*s", static_cast<int>(slash - path), path);
  DIR* folder = opendir(folderPath[0] ? folderPath : "/");
  if (folder == nullptr) return;
  while (const dirent* entry = readdir(folder)) {
    if (isLeftover(dirfd(folder), entry->d_name, slash + 1))
      unlinkat(dirfd(folder), entry->d_name, 0);
  }
  closedir(folder);
}

void reportLeftAlone(const char* path, const ScoreFileFound& found) {
  const char* format = "kravix: %s %s: it is left alone, and the scores are not saved\n";
  const char* what = "is not a score file";
  if (found.place == ScoreFilePlace::Link) what = "is a symbolic link";
  if (found.place == ScoreFilePlace::NotRegular) what = "is not a regular file";
  if (found.place == ScoreFilePlace::Unreadable) {
    format = "kravix: cannot read %s (%s): it is left alone, and the scores are not saved\n";
    what = std::strerror(found.error);
  }
  reportOnce(format, path, what);
}

void reportSavedInPlace(const char* path, int temporaryError) {
  reportOnce(
      "kravix: no temporary file can be made beside %s (%s): the scores are saved in place\n", path,
      std::strerror(temporaryError));
}

void reportSaveFailed(const char* path, int error) {
  reportOnce("kravix: cannot save the scores in %s: %s\n", path, std::strerror(error));
}

void forgetReports() {
  lastReport[0] = '\0';
}
