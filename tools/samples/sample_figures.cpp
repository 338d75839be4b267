#include "sample_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "state/angles.h"

namespace {

constexpr double kRate = 5000.0;

// |X(k)|^2 of the discrete Fourier transform for k = 0 .. length/2.
std::vector<double> powerSpectrum(const uint8_t* bytes, size_t length) {
  std::vector<double> cosines(length), sines(length);
  for (size_t j = 0; j < length; ++j) {
    cosines[j] = std::cos(2.0 * kPi * j / length);
    sines[j] = std::sin(2.0 * kPi * j / length);
  }
  std::vector<double> power(length / 2 + 1);
  for (size_t k = 0; k < power.size(); ++k) {
    double re = 0.0, im = 0.0;
    for (size_t n = 0, turn = 0; n < length; ++n, turn = (turn + k) % length) {
      re += (bytes[n] - 128.0) * cosines[turn];
      im -= (bytes[n] - 128.0) * sines[turn];
    }
    power[k] = re * re + im * im;
  }
  return power;
}

double frequencyOf(size_t k, size_t length) {
  return k * kRate / length;
}

}  // namespace

double soundRms(const uint8_t* bytes, size_t length, size_t count) {
  count = std::min(count, length);
  if (count == 0) return 0.0;
  double sum = 0.0;
  for (size_t i = 0; i < count; ++i) sum += (bytes[i] - 128.0) * (bytes[i] - 128.0);
  return std::sqrt(sum / count);
}

double spectralCentroid(const uint8_t* bytes, size_t length) {
  std::vector<double> power = powerSpectrum(bytes, length);
  double weighted = 0.0, total = 0.0;
  for (size_t k = 1; k < power.size(); ++k) {
    weighted += frequencyOf(k, length) * std::sqrt(power[k]);
    total += std::sqrt(power[k]);
  }
  return total > 0.0 ? weighted / total : 0.0;
}

double bandShare(const uint8_t* bytes, size_t length, double lowHz, double highHz) {
  std::vector<double> power = powerSpectrum(bytes, length);
  double inside = 0.0, total = 0.0;
  for (size_t k = 1; k < power.size(); ++k) {
    double f = frequencyOf(k, length);
    if (f >= lowHz && f <= highHz) inside += power[k];
    total += power[k];
  }
  return total > 0.0 ? inside / total : 0.0;
}

int seamStep(const uint8_t* bytes, size_t length) {
  return length == 0 ? 0 : std::abs(bytes[0] - bytes[length - 1]);
}

int largestStep(const uint8_t* bytes, size_t length) {
  int largest = 0;
  for (size_t i = 1; i < length; ++i)
    largest = std::max(largest, std::abs(bytes[i] - bytes[i - 1]));
  return largest;
}
