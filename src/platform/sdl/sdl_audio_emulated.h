// An OSS device emulated on SDL2 audio, for machines without "/dev/dsp".
// It keeps OSS pacing: a write returns once SDL has taken the block, so at
// most two fragments wait ahead of the newest one (one with us, one in SDL).
// SDL audio is opened only in a process other than the one that started the
// program (the forked sound server): the game process proves that an output
// exists in a throwaway child, so no SDL audio state is ever inherited.
#pragma once

#include <sys/types.h>

// Opens the emulated device; -1 with errno ENODEV when SDL has no output at all.
int emulatedDspOpen();
bool isEmulatedDsp(int fd);
int emulatedDspIoctl(unsigned long request, int* argument);
ssize_t emulatedDspWrite(const void* bytes, size_t count);
int emulatedDspClose();
