// The audio device seam for the game: "/dev/dsp" is the real OSS device when
// that node exists and opens, otherwise the OSS device emulated on SDL2 audio.
// Every other path is the system's own.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstring>

#include "platform/audio_device.h"
#include "platform/sdl/sdl_audio_emulated.h"

namespace {

bool isDspPath(const char* path) {
  return path != nullptr && std::strcmp(path, "/dev/dsp") == 0;
}

}  // namespace

int dsp_access(const char* path, int mode) {
  int result = access(path, mode);
  // Without a usable node the emulated device stands in; whether SDL has an output shows at open.
  return result != 0 && isDspPath(path) ? 0 : result;
}

int dsp_open(const char* path, int flags) {
  int fd = open(path, flags);
  return fd < 0 && isDspPath(path) ? emulatedDspOpen() : fd;
}

int dsp_ioctl(int fd, unsigned long request, int* argument) {
  return isEmulatedDsp(fd) ? emulatedDspIoctl(request, argument) : ioctl(fd, request, argument);
}

ssize_t dsp_write(int fd, const void* bytes, size_t count) {
  return isEmulatedDsp(fd) ? emulatedDspWrite(bytes, count) : write(fd, bytes, count);
}

int dsp_close(int fd) {
  return isEmulatedDsp(fd) ? emulatedDspClose() : close(fd);
}
