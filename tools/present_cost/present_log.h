// Present timing for the present-cost measurement, shared by the probe and the
// plain program: after a warm-up, the wall time and the process's CPU time at
// each present, then the figures on one line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

struct PresentLog {
  static constexpr double kWarmUpSeconds = 2.0;
  double seconds = 6.0;  // measured after the warm-up
  uint64_t start = 0;
  std::vector<uint64_t> wall, cpu;
};

inline uint64_t presentLogClock(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(now.tv_nsec);
}

// Records one present; true once the measured time is over.
inline bool logPresent(PresentLog& log) {
  uint64_t now = presentLogClock(CLOCK_MONOTONIC);
  if (log.start == 0) log.start = now;
  double since = (now - log.start) / 1e9;
  if (since < PresentLog::kWarmUpSeconds) return false;
  log.wall.push_back(now);
  log.cpu.push_back(presentLogClock(CLOCK_PROCESS_CPUTIME_ID));
  return since >= PresentLog::kWarmUpSeconds + log.seconds;
}

// presents/s, CPU µs per present, interval p5 p50 p95 (ms), share of intervals in 13-16 ms.
inline void printPresentLog(const PresentLog& log, const char* name, FILE* out) {
  size_t n = log.wall.size();
  if (n < 3) return;
  std::vector<double> gaps;
  for (size_t i = 1; i < n; ++i) gaps.push_back((log.wall[i] - log.wall[i - 1]) / 1e6);
  double within =
      std::count_if(gaps.begin(), gaps.end(), [](double g) { return g >= 13.0 && g <= 16.0; }) /
      static_cast<double>(gaps.size());
  std::sort(gaps.begin(), gaps.end());
  auto at = [&](double p) { return gaps[static_cast<size_t>(p * (gaps.size() - 1))]; };
  double wallSeconds = (log.wall[n - 1] - log.wall[0]) / 1e9;
  double cpuMicros = (log.cpu[n - 1] - log.cpu[0]) / 1e3 / (n - 1);
  std::fprintf(out, "%s %.1f %.0f %.2f %.2f %.2f %.1f\n", name, (n - 1) / wallSeconds, cpuMicros,
               at(0.05), at(0.5), at(0.95), within * 100);
  std::fflush(out);
}
