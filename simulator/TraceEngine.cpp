#include "simulator/TraceEngine.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr std::size_t kNoiseTableSize = 1 << 12;
constexpr double kThermalDbmPerHz = -174.0;
constexpr double kNoiseFigureDb = 24.0;  // at the default 10 dB attenuation
constexpr double kFloorSlopeDbPerGHz = 0.8;

uint64_t splitmix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

const std::vector<Carrier>& TraceEngine::carriers() {
  static const std::vector<Carrier> list{
      {100.0e6, -30.0}, {433.92e6, -52.0}, {915.0e6, -47.0}, {1.8e9, -40.0}, {2.45e9, -35.0}};
  return list;
}

double TraceEngine::noiseFloorDbm(const Settings& s, double frequencyHz) {
  return kThermalDbmPerHz + 10.0 * std::log10(s.rbwHz) + kNoiseFigureDb +
         (s.attenuationDb - 10.0) + kFloorSlopeDbPerGHz * frequencyHz / 1e9;
}

TraceEngine::TraceEngine(uint32_t seed) : seed_(seed), state_(seed) {
  // Log-detected Gaussian noise: the power is exponentially distributed, its dB value has a
  // long tail downwards. The table holds equally spaced quantiles, centred on the mean.
  noiseTable_.resize(kNoiseTableSize);
  double mean = 0;
  for (std::size_t i = 0; i < kNoiseTableSize; ++i) {
    const double u = (static_cast<double>(i) + 0.5) / kNoiseTableSize;
    noiseTable_[i] = static_cast<float>(10.0 * std::log10(-std::log(u)));
    mean += noiseTable_[i];
  }
  mean /= kNoiseTableSize;
  for (float& v : noiseTable_) v -= static_cast<float>(mean);
}

void TraceEngine::reset() {
  state_ = seed_;
  sweeps_ = 0;
  for (auto& t : traces_) t.clear();
  restartHolds();
}

uint64_t TraceEngine::nextRandom() { return splitmix(state_); }

void TraceEngine::buildModel(const Settings& s) {
  const ModelKey key{s.startHz, s.stopHz, s.rbwHz, s.vbwHz, s.attenuationDb, s.points};
  if (haveModel_ && key == key_) return;
  key_ = key;
  haveModel_ = true;

  const std::size_t n = s.points;
  const double step = n > 1 ? s.spanHz() / static_cast<double>(n - 1) : 0.0;
  const double first = n > 1 ? s.startHz : s.centerHz();
  base_.resize(n);
  noiseScale_.assign(n, 1.0f);
  const double floor0 = noiseFloorDbm(s, 0.0);
  const double slope = kFloorSlopeDbPerGHz * step / 1e9;
  const double firstFloor = floor0 + kFloorSlopeDbPerGHz * first / 1e9;
  for (std::size_t i = 0; i < n; ++i) base_[i] = static_cast<float>(firstFloor + slope * i);

  // Each point shows the peak of its frequency bin, so a carrier between two points of a wide
  // span still appears at its level. The filter is Gaussian, 3 dB down at +-RBW/2.
  const double binHalf = step / 2;
  const double reach = 4.0 * s.rbwHz + binHalf;
  std::vector<double> extra(n, 0.0);
  std::vector<char> touched(n, 0);
  for (const Carrier& c : carriers()) {
    std::size_t lo = 0, hi = n;
    if (step > 0) {
      const double a = std::floor((c.frequencyHz - reach - first) / step);
      const double b = std::ceil((c.frequencyHz + reach - first) / step);
      if (b < 0 || a > static_cast<double>(n - 1)) continue;
      lo = static_cast<std::size_t>(std::max(0.0, a));
      hi = static_cast<std::size_t>(std::min(static_cast<double>(n - 1), b)) + 1;
    } else if (std::abs(c.frequencyHz - first) > reach) {
      continue;
    }
    for (std::size_t i = lo; i < hi; ++i) {
      const double f = first + step * i;
      const double d = std::max(0.0, std::abs(f - c.frequencyHz) - binHalf);
      const double x = 2.0 * d / s.rbwHz;
      const double responseDb = -3.0103 * x * x;
      extra[i] += std::pow(10.0, (c.levelDbm + responseDb) / 10.0);
      touched[i] = 1;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!touched[i]) continue;
    const double floorLin = std::pow(10.0, base_[i] / 10.0);
    const double total = floorLin + extra[i];
    base_[i] = static_cast<float>(10.0 * std::log10(total));
    noiseScale_[i] = static_cast<float>(floorLin / total);
  }
  noiseDepth_ = static_cast<float>(std::clamp(std::sqrt(s.vbwHz / s.rbwHz), 0.03, 1.0));
  restartHolds();
}

void TraceEngine::sweep(const Settings& s) {
  buildModel(s);
  const std::size_t n = s.points;
  scratch_.resize(n);
  const float* table = noiseTable_.data();
  std::size_t i = 0;
  while (i < n) {
    uint64_t r = nextRandom();
    for (int k = 0; k < 4 && i < n; ++k, ++i, r >>= 16)
      scratch_[i] = base_[i] + noiseDepth_ * noiseScale_[i] * table[r & (kNoiseTableSize - 1)];
  }
  ++sweeps_;

  for (std::size_t t = 0; t < 3; ++t) {
    std::vector<float>& trace = traces_[t];
    const TraceMode mode = s.traceModes[t];
    if (restart_[t] || trace.size() != n) {
      // View and blank traces that still fit keep their frozen data across a restart.
      if (trace.size() == n && (mode == TraceMode::View || mode == TraceMode::Blank)) continue;
      trace = scratch_;
      restart_[t] = false;
      continue;
    }
    switch (mode) {
      case TraceMode::Write: std::copy(scratch_.begin(), scratch_.end(), trace.begin()); break;
      case TraceMode::MaxHold:
        for (std::size_t j = 0; j < n; ++j) trace[j] = std::max(trace[j], scratch_[j]);
        break;
      case TraceMode::MinHold:
        for (std::size_t j = 0; j < n; ++j) trace[j] = std::min(trace[j], scratch_[j]);
        break;
      case TraceMode::View:
      case TraceMode::Blank: break;
    }
  }
}

}  // namespace sim
