#pragma once
// The measured spectrum: a noise floor set by resolution bandwidth and attenuation, a few fixed
// carriers, and three traces that each take every sweep according to their mode. The noise-free
// spectrum is computed once per change of the frequency axis or bandwidths; a sweep then costs a
// table look-up and a multiply-add per point, so 100001-point traces stay cheap. The same seed
// and the same sweeps give the same data.
#include <array>
#include <cstdint>
#include <vector>

#include "simulator/Settings.h"

namespace sim {

struct Carrier {
  double frequencyHz;
  double levelDbm;
};

class TraceEngine {
 public:
  explicit TraceEngine(uint32_t seed);

  // The carriers present at the input.
  static const std::vector<Carrier>& carriers();
  // Displayed average noise level, dBm in the resolution bandwidth, at frequency f.
  static double noiseFloorDbm(const Settings& settings, double frequencyHz);

  // One sweep: write traces take it, max/min hold traces combine with it, view and blank traces
  // keep what they have. A trace whose hold was restarted, or whose length no longer matches the
  // point count, takes the sweep whatever its mode.
  void sweep(const Settings& settings);
  // After a change of frequency axis, bandwidth or attenuation the holds begin anew.
  void restartHolds() { restart_ = {true, true, true}; }
  void restartHold(int index) { restart_[static_cast<std::size_t>(index)] = true; }
  // Forget every trace and start the noise sequence over (*RST).
  void reset();

  // Trace 0..2 in dBm; empty before the first sweep.
  const std::vector<float>& trace(int index) const { return traces_[static_cast<std::size_t>(index)]; }
  uint64_t sweeps() const { return sweeps_; }

 private:
  struct ModelKey {
    double startHz, stopHz, rbwHz, vbwHz, attenuationDb;
    uint32_t points;
    bool operator==(const ModelKey&) const = default;
  };
  void buildModel(const Settings& settings);
  uint64_t nextRandom();

  uint32_t seed_;
  uint64_t state_;
  uint64_t sweeps_ = 0;
  std::vector<float> noiseTable_;  // zero-mean log-detected noise, dB
  bool haveModel_ = false;
  ModelKey key_{};
  std::vector<float> base_;        // noise-free level, dBm
  std::vector<float> noiseScale_;  // how much of the noise shows at each point
  float noiseDepth_ = 1;           // video filtering smooths the noise
  std::vector<float> scratch_;
  std::array<std::vector<float>, 3> traces_;
  std::array<bool, 3> restart_{true, true, true};
};

}  // namespace sim
