// SndMix: a forked sound server that owns the audio device and mixes
// channels of unsigned 8-bit samples, driven over a one-way pipe of 8-byte
// commands (sample index, channel). The game process never writes audio, and
// never waits on the server: a full pipe drops the command, shutdown kills a
// server that has not ended within two seconds, and a server whose game has
// died is killed. Every call returns 0 on success, 1 on failure.
#pragma once

#include <sys/types.h>

#include <cstdint>

struct SampleEntry {
  const uint8_t* data;  // 128 is silence
  int32_t length;
  int32_t loop;  // repeats without end; on channel 0 only
};

int Snd_init(int sampleCount, const SampleEntry* table, int sampleRate, int channels,
             const char* devicePath);
int Snd_play(int sample, int channel);
int Snd_shutdown();

// What tests look at: the running server's process id (0 when there is none),
// and the wait status of the last server that Snd_shutdown saw end.
pid_t Snd_serverPid();
int Snd_serverStatus();
