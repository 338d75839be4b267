// The audio helper: the program executed afresh to play the emulated OSS
// device's blocks through SDL audio. It talks with the process that started it
// over a socket pair (packets, below), and is the only place SDL audio runs.
// The game process starts one only to prove that SDL has an output.
#pragma once

#include <cstdint>

// Set in the helper's environment to its role; the socket is its descriptor 3.
constexpr char kAudioHelperVariable[] = "KRAVIX_AUDIO_HELPER";
constexpr char kAudioHelperProbe[] = "probe";  // open SDL's output, answer, end
constexpr char kAudioHelperServe[] = "serve";  // play blocks until end of file
constexpr int kAudioHelperSocket = 3;
constexpr int kAudioMaxFragment = 1 << 16;

// Packets to the helper start with a tag; answers are one byte.
constexpr uint8_t kAudioConfigure = 'C';  // then int32 rate and int32 fragment bytes; answer yes/no
constexpr uint8_t kAudioBlock = 'B';      // then the bytes; answered with taken once SDL has them
constexpr uint8_t kAudioYes = 'Y';
constexpr uint8_t kAudioNo = 'N';
constexpr uint8_t kAudioTaken = 'T';

// Runs the helper in the given role and ends the process; never returns.
[[noreturn]] void runAudioHelper(const char* role);
