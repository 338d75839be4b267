// Audio device seam: the OSS calls on a device path, with their meaning.
// "/dev/dsp" is the real OSS device when it exists and opens; otherwise the
// SDL2 backend emulates it on SDL audio (at most two 128-byte fragments ahead)
// and the headless backend reports it missing. Every other path is passed to
// the system as it is (tests use FIFOs). Results and errno as the system calls.
#pragma once

#include <sys/types.h>

int dsp_access(const char* path, int mode);
int dsp_open(const char* path, int flags);
int dsp_ioctl(int fd, unsigned long request, int* argument);
ssize_t dsp_write(int fd, const void* bytes, size_t count);
int dsp_close(int fd);
