// Shows the game's sound reaching a real audio server; pulse_check.sh runs it.
//   sound_output_check play            opens the game's window, starts the sound and
//                                      plays thrust and the three effects, printing
//                                      "EVENT name microseconds" (CLOCK_REALTIME)
//   sound_output_check record FILE     copies a raw recording (u8, 5000/s, mono) from
//                                      standard input to FILE, and each read's end
//                                      offset and time to FILE.times
//   sound_output_check find FILE LOG   finds each event's sound in the recording and
//                                      prints when it was heard after it was played,
//                                      and whether whole (without a gap)
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/keyboard.h"
#include "platform/vga.h"
#include "sound/samples.h"
#include "sound/sound_effects.h"
#include "state/settings.h"
#include "video/frame_buffer.h"
#include "video/palette.h"
#include "video/text.h"
#include "video/video_mode.h"

namespace {

constexpr double kRate = 5000.0;
// A shorter delay is within what matching can tell; SDL's smallest buffers are longer.
constexpr double kGapMs = 2.0;

long long nowMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

void logEvent(const char* name) {
  std::printf("EVENT %s %lld\n", name, nowMicroseconds());
  std::fflush(stdout);
}

// Keeps the window alive for a while, as the game's frames would.
void runFrames(int milliseconds) {
  long long until = nowMicroseconds() + milliseconds * 1000LL;
  while (nowMicroseconds() < until) {
    keyboard_update();
    vga_present();
  }
}

int play() {
  // As at the game's start-up: the window is open before the sound server is forked.
  setVideoMode();
  loadPalette(256, defaultPalette);
  drawText(124, 96, 15, "SOUND OUTPUT CHECK");
  copyFrame();
  settings.effectsOn = 1;
  logEvent("starting-sound");
  startSound();
  logEvent("sound-started");
  if (!soundAvailable) return 1;
  runFrames(1000);
  logEvent("thrust");
  shipThrusting = 1;
  updateThrustSound();
  runFrames(1200);
  logEvent("thrust-stop");
  shipThrusting = 0;
  updateThrustSound();
  runFrames(600);
  const std::pair<const char*, int> effects[] = {{"ship-shot", kEffectShipShot},
                                                 {"turret-shot", kEffectTurretShot},
                                                 {"explosion", kEffectExplosion},
                                                 {"ship-shot", kEffectShipShot}};
  for (auto [name, kind] : effects) {
    logEvent(name);
    playEffect(kind);
    runFrames(kind == kEffectExplosion ? 2000 : 700);
  }
  stopSound();
  vga_setmode(TEXT);
  return 0;
}

int record(const char* path) {
  FILE* out = std::fopen(path, "wb");
  std::ofstream times(std::string(path) + ".times");
  if (!out || !times) return 1;
  unsigned char chunk[4096];
  long long total = 0;
  for (;;) {
    ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
    if (got <= 0) break;
    long long at = nowMicroseconds();
    std::fwrite(chunk, 1, static_cast<size_t>(got), out);
    total += got;
    times << total << ' ' << at << '\n';
    times.flush();
  }
  std::fclose(out);
  return 0;
}

struct Arrival {
  long long end;
  long long at;
};

// When a recorded byte was captured: its read's time, less the bytes after it in that read.
long long capturedAt(const std::vector<Arrival>& arrivals, long long offset) {
  for (const Arrival& arrival : arrivals) {
    if (arrival.end > offset) {
      return arrival.at - static_cast<long long>((arrival.end - offset) * 1e6 / kRate);
    }
  }
  return -1;
}

long long offsetAt(const std::vector<Arrival>& arrivals, long long micros) {
  for (const Arrival& arrival : arrivals) {
    if (arrival.at >= micros) {
      return std::max(0LL,
                      arrival.end - static_cast<long long>((arrival.at - micros) * kRate / 1e6));
    }
  }
  return arrivals.empty() ? 0 : arrivals.back().end;
}

// Where the sound begins in the recording between from and to: the first place
// that matches nearly as well as the best (normalised correlation), so a loop is
// found at its first repetition.
std::pair<long long, double> firstMatch(const std::vector<double>& heard,
                                        const std::vector<double>& sound, long long from,
                                        long long to) {
  double soundEnergy = 0;
  for (double v : sound) soundEnergy += v * v;
  std::vector<double> scores;
  long long first = std::max(0LL, from);
  long long last = std::min<long long>(to, heard.size()) - static_cast<long long>(sound.size());
  for (long long at = first; at <= last; ++at) {
    double dot = 0, energy = 0;
    for (size_t i = 0; i < sound.size(); ++i) {
      dot += heard[at + i] * sound[i];
      energy += heard[at + i] * heard[at + i];
    }
    scores.push_back(energy > 0 ? dot / std::sqrt(energy * soundEnergy) : 0);
  }
  if (scores.empty()) return {-1, 0.0};
  double best = *std::max_element(scores.begin(), scores.end());
  size_t at = 0;
  while (scores[at] < best - 0.03) ++at;
  while (at + 1 < scores.size() && scores[at + 1] > scores[at]) ++at;
  return {first + static_cast<long long>(at), scores[at]};
}

// The first offset from which the recording stays silent for 0.1 s.
long long firstQuiet(const std::vector<double>& heard, long long from) {
  long long run = 0;
  for (long long at = std::max(0LL, from); at < static_cast<long long>(heard.size()); ++at) {
    run = std::abs(heard[at]) <= 1.5 ? run + 1 : 0;
    if (run == 500) return at - run + 1;
  }
  return -1;
}

// Centred on 0 and smoothed: the audio server's resampling blurs what lies near
// 2500 Hz and shifts the rest by a fraction of a sample; what is below 1 kHz stays.
std::vector<double> centred(const unsigned char* bytes, size_t count) {
  std::vector<double> values(count);
  for (size_t i = 0; i < count; ++i) values[i] = bytes[i] - 128.0;
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<double> smooth(values);
    for (size_t i = 1; i + 1 < count; ++i)
      smooth[i] = (values[i - 1] + 2 * values[i] + values[i + 1]) / 4;
    values.swap(smooth);
  }
  return values;
}

// The sound as played from its start for `count` bytes: a loop repeats.
std::vector<double> played(const uint8_t* record, bool loops, size_t count) {
  size_t length = static_cast<size_t>(loops ? recordLength(record) / 2 : recordLength(record));
  std::vector<unsigned char> bytes(loops ? count : std::min(count, length));
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = recordBytes(record)[i % length];
  return centred(bytes.data(), bytes.size());
}

// The longest gap inside a sound found at `offset`: each 50 ms of it is looked
// for a little later than its start puts it; a gap delays all that follows.
double longestGapMs(const std::vector<double>& heard, const std::vector<double>& sound,
                    long long offset) {
  constexpr size_t kWindow = 250;
  constexpr long long kSearch = 400;  // up to 80 ms
  long long longest = 0;
  for (size_t from = 0; from + kWindow <= sound.size(); from += kWindow) {
    double soundEnergy = 0;
    for (size_t i = from; i < from + kWindow; ++i) soundEnergy += sound[i] * sound[i];
    if (soundEnergy < kWindow * 4.0) continue;  // too quiet to place
    double best = 0, inPlace = 0;
    long long bestShift = 0;
    for (long long shift = -4; shift <= kSearch; ++shift) {
      long long at = offset + static_cast<long long>(from) + shift;
      if (at < 0 || at + static_cast<long long>(kWindow) > static_cast<long long>(heard.size()))
        break;
      double dot = 0, energy = 0;
      for (size_t i = 0; i < kWindow; ++i) {
        dot += heard[at + i] * sound[from + i];
        energy += heard[at + i] * heard[at + i];
      }
      double score = energy > 0 ? dot / std::sqrt(energy * soundEnergy) : 0;
      if (shift == 0) inPlace = score;
      if (score > best) best = score, bestShift = shift;
    }
    // A tone matches itself a period later too: only a clearly better place is a gap.
    if (best > 0.8 && best > inPlace + 0.1) longest = std::max(longest, bestShift);
  }
  return longest * 1000.0 / kRate;
}

struct Event {
  std::string name;
  long long at;
};

int find(const char* recordingPath, const char* logPath) {
  std::ifstream recordingFile(recordingPath, std::ios::binary);
  std::vector<unsigned char> recording((std::istreambuf_iterator<char>(recordingFile)), {});
  std::vector<double> heard = centred(recording.data(), recording.size());
  std::vector<Arrival> arrivals;
  std::ifstream times(std::string(recordingPath) + ".times");
  for (Arrival arrival{}; times >> arrival.end >> arrival.at;) arrivals.push_back(arrival);
  std::map<std::string, const uint8_t*> recordOf = {{"thrust", thrustRecord},
                                                    {"explosion", explosionRecord},
                                                    {"ship-shot", shipShotRecord},
                                                    {"turret-shot", turretShotRecord}};
  std::ifstream log(logPath);
  std::vector<Event> events;
  for (std::string line; std::getline(log, line);) {
    std::istringstream words(line);
    std::string tag;
    Event event;
    if (words >> tag >> event.name >> event.at && tag == "EVENT") events.push_back(event);
  }
  int found = 0, sounds = 0;
  for (size_t e = 0; e < events.size(); ++e) {
    const auto& [name, at] = events[e];
    if (name == "thrust-stop") {
      long long quiet = firstQuiet(heard, offsetAt(arrivals, at - 100000));
      std::printf("%-12s silent  %7.1f ms after it was stopped\n", name.c_str(),
                  quiet < 0 ? -1.0 : (capturedAt(arrivals, quiet) - at) / 1000.0);
      continue;
    }
    if (!recordOf.count(name)) continue;
    ++sounds;
    // Found by its first 600 bytes (0.12 s); of the thrust, the start of its loop.
    const uint8_t* record = recordOf[name];
    bool loops = record == thrustRecord;
    std::vector<double> sound = played(record, loops, 600);
    long long from = offsetAt(arrivals, at - 100000), to = offsetAt(arrivals, at + 600000);
    auto [offset, score] =
        firstMatch(heard, sound, from, to + static_cast<long long>(sound.size()));
    if (offset < 0) {
      std::printf("%-12s not found\n", name.c_str());
      continue;
    }
    // Checked for gaps until the next event (less 0.1 s) or its end.
    long long span = e + 1 < events.size() ? events[e + 1].at - at - 100000 : 2000000;
    span = std::max(span, 0LL);
    double gapMs = longestGapMs(heard, played(record, loops, span * kRate / 1e6), offset);
    double latencyMs = (capturedAt(arrivals, offset) - at) / 1000.0;
    bool heardIt = score > 0.8 && gapMs < kGapMs;
    found += heardIt;
    std::printf("%-12s heard %7.1f ms after it was played (match %.3f), %s%s\n", name.c_str(),
                latencyMs, score, gapMs < kGapMs ? "whole" : "GAP",
                heardIt ? "" : "  NOT HEARD WHOLE");
    if (gapMs >= kGapMs)
      std::printf("             a gap delays its later part by %.1f ms\n", gapMs);
  }
  std::printf("%d of %d sounds heard whole in the recording\n", found, sounds);
  return found == sounds && sounds > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "play") == 0) return play();
  if (argc == 3 && std::strcmp(argv[1], "record") == 0) return record(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "find") == 0) return find(argv[2], argv[3]);
  std::fprintf(stderr, "usage: %s play | record FILE | find FILE LOG\n", argv[0]);
  return 2;
}
