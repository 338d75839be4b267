// No audio output here: "/dev/dsp" is missing, so the game runs silent.
// Every other path reaches the system, so tests can hand the sound server a FIFO.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/audio_device.h"

static bool isDspPath(const char* path) {
  return std::strcmp(path, "/dev/dsp") == 0;
}

int dsp_access(const char* path, int mode) {
  if (isDspPath(path)) {
    errno = ENOENT;
    return -1;
  }
  return access(path, mode);
}

int dsp_open(const char* path, int flags) {
  if (isDspPath(path)) {
    errno = ENOENT;
    return -1;
  }
  return open(path, flags);
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
