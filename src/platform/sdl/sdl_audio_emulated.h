// An OSS device emulated on SDL2 audio, for machines without "/dev/dsp".
// SDL audio runs only in a helper: the program itself executed afresh, so it
// inherits nothing of the game's SDL state (window, X connection, D-Bus, threads).
// A write hands the block to the helper and returns once SDL has taken it, so
// at most two fragments wait ahead of the newest one (one here, one in SDL).
#pragma once

#include <sys/types.h>

// Opens the emulated device; -1 with errno ENODEV when SDL has no output at all.
int emulatedDspOpen();
bool isEmulatedDsp(int fd);
int emulatedDspIoctl(unsigned long request, int* argument);
ssize_t emulatedDspWrite(const void* bytes, size_t count);
int emulatedDspClose();
