// Placeholder until the audio device lands: the system's own calls on every path.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/audio_device.h"

int dsp_access(const char* path, int mode) {
  return access(path, mode);
}
int dsp_open(const char* path, int flags) {
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
