// No audio output here: "/dev/dsp" is missing, so the game runs silent, unless a
// test routes it to a path of its own. Every other path reaches the system.
#include "platform/headless/headless_audio.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/audio_device.h"

namespace {

std::string dspRoute;  // empty: "/dev/dsp" is missing

bool isDspPath(const char* path) {
  return path != nullptr && std::strcmp(path, "/dev/dsp") == 0;
}

}  // namespace

void headlessRouteDsp(const char* path) {
  dspRoute = path ? path : "";
}

int dsp_access(const char* path, int mode) {
  if (!isDspPath(path)) return access(path, mode);
  if (dspRoute.empty()) {
    errno = ENOENT;
    return -1;
  }
  return access(dspRoute.c_str(), mode);
}

int dsp_open(const char* path, int flags) {
  if (!isDspPath(path)) return open(path, flags);
  if (dspRoute.empty()) {
    errno = ENOENT;
    return -1;
  }
  return open(dspRoute.c_str(), flags);
}

int dsp_ioctl(int fd, unsigned long request, int* argument) {
  return ioctl(fd, request, argument);
}

ssize_t dsp_write(int fd, const void* bytes, size_t count) {
  return write(fd, bytes, count);
}

int dsp_close(int fd) {
  return close(fd);
}
