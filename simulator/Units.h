#pragma once
// Amplitude units. The analyzer measures power in dBm into 50 ohm; every other unit is derived
// from it: voltage units through the 50 ohm input, field-strength units through the antenna
// factor of the simulated antenna, magnetic units through the free-space impedance.
#include <cstddef>

#include "simulator/Settings.h"

namespace sim {

// The simulated antenna's factor, dB(1/m): field strength in dBuV/m = input dBuV + this.
inline constexpr double kAntennaFactorDb = 15.0;

bool isLinear(Unit unit);
double fromDbm(double dbm, Unit unit);
// The inverse; NaN for a linear value <= 0, which has no level.
double toDbm(double value, Unit unit);
// Converts n values at once; the dB units cost an addition per point.
void convertFromDbm(const float* dbm, std::size_t n, Unit unit, double* out);

}  // namespace sim
