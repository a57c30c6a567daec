#include "simulator/Units.h"

#include <cmath>
#include <limits>

namespace sim {
namespace {

// dBuV = dBm + 10*log10(50 ohm * 1 mW) + 120.
const double kDbuvPerDbm = 10.0 * std::log10(50.0 * 1e-3) + 120.0;  // 106.99
// Free-space impedance 120*pi ohm: dBuA/m = dBuV/m - 20*log10(377).
const double kDbFreeSpace = 20.0 * std::log10(120.0 * M_PI);  // 51.53
// B = mu0 * H: dBpT = dBuA/m + 20*log10(mu0 * 1e-6 A / 1e-12 T).
const double kDbPtPerDbuam = 20.0 * std::log10(4e-7 * M_PI * 1e6);  // 1.98
// 1 gauss = 1e8 pT.
constexpr double kDbGaussPerDbpt = -160.0;

// Offset of each dB unit from dBm, and for the linear units the dB unit they are 20*log10 of
// (or 10*log10 for watts).
double offset(Unit unit) {
  switch (unit) {
    case Unit::DBM: return 0;
    case Unit::DBMV: return kDbuvPerDbm - 60.0;
    case Unit::DBUV: return kDbuvPerDbm;
    case Unit::V: return kDbuvPerDbm - 120.0;  // dBV
    case Unit::W: return -30.0;                // dBW
    case Unit::DBUVM:
    case Unit::UVM: return kDbuvPerDbm + kAntennaFactorDb;
    case Unit::DBUAM:
    case Unit::UAM: return kDbuvPerDbm + kAntennaFactorDb - kDbFreeSpace;
    case Unit::DBPT:
    case Unit::PT: return kDbuvPerDbm + kAntennaFactorDb - kDbFreeSpace + kDbPtPerDbuam;
    case Unit::DBG:
    case Unit::GAUS:
      return kDbuvPerDbm + kAntennaFactorDb - kDbFreeSpace + kDbPtPerDbuam + kDbGaussPerDbpt;
  }
  return 0;
}

double linearDivisor(Unit unit) { return unit == Unit::W ? 10.0 : 20.0; }

}  // namespace

bool isLinear(Unit unit) {
  return unit == Unit::V || unit == Unit::W || unit == Unit::UVM || unit == Unit::UAM ||
         unit == Unit::PT || unit == Unit::GAUS;
}

double fromDbm(double dbm, Unit unit) {
  const double db = dbm + offset(unit);
  return isLinear(unit) ? std::pow(10.0, db / linearDivisor(unit)) : db;
}

double toDbm(double value, Unit unit) {
  if (!isLinear(unit)) return value - offset(unit);
  if (!(value > 0)) return std::numeric_limits<double>::quiet_NaN();
  return linearDivisor(unit) * std::log10(value) - offset(unit);
}

void convertFromDbm(const float* dbm, std::size_t n, Unit unit, double* out) {
  const double off = offset(unit);
  if (!isLinear(unit)) {
    for (std::size_t i = 0; i < n; ++i) out[i] = dbm[i] + off;
    return;
  }
  const double k = std::log(10.0) / linearDivisor(unit);
  for (std::size_t i = 0; i < n; ++i) out[i] = std::exp((dbm[i] + off) * k);
}

}  // namespace sim
