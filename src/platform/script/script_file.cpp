#include "platform/script/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr long long kScriptFileLimit = 64LL << 20;

bool readAtMost(int fd, std::string* text, long long limit) {
  char chunk[1 << 16];
  while (true) {
    ssize_t count = read(fd, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) return true;
    if (static_cast<long long>(text->size()) + count > limit) {
      errno = EFBIG;
      return false;
    }
    text->append(chunk, static_cast<size_t>(count));
  }
}

}  // namespace

bool readScriptFile(const char* path, std::string* text, std::string* error) {
  const std::string shownPath = printable(path, 200);
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = shownPath + ": " + std::strerror(errno);
    return false;
  }
  struct stat file {};
  const char* why = nullptr;
  if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    why = "not a regular file";
  } else if (file.st_size > kScriptFileLimit) {
    why = "larger than 64 MiB";
  } else {
    text->clear();
    text->reserve(static_cast<size_t>(file.st_size));
    if (!readAtMost(fd, text, kScriptFileLimit))
      why = errno == EFBIG ? "larger than 64 MiB" : std::strerror(errno);
  }
  close(fd);
  if (why) *error = shownPath + ": " + why;
  return why == nullptr;
}

bool loadScriptFile(const char* path, ParsedScript* script, std::string* error) {
  std::string text;
  if (!readScriptFile(path, &text, error)) return false;
  if (parseScript(text, script, error)) return true;
  *error = printable(path, 200) + ": " + *error;
  return false;
}
