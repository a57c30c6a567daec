#include "simulator/Analyzer.h"

#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "simulator/Commands.h"
#include "simulator/Display.h"
#include "simulator/ScpiError.h"
#include "simulator/ScreenImage.h"
#include "simulator/Units.h"

namespace sim {

namespace {

// Event status register bits.
constexpr uint8_t kQueryErrorBit = 0x04;
constexpr uint8_t kDeviceErrorBit = 0x08;
constexpr uint8_t kExecutionErrorBit = 0x10;
constexpr uint8_t kCommandErrorBit = 0x20;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string definiteBlock(std::string_view data) {
  const std::string length = std::to_string(data.size());
  std::string out;
  out.reserve(data.size() + length.size() + 3);
  out.push_back('#');
  out.push_back(static_cast<char>('0' + length.size()));
  out += length;
  out += data;
  out.push_back('\n');
  return out;
}

const Param& Analyzer::Call::only() const {
  if (params.empty()) throw ScpiError(MissingParameter);
  if (params.size() > 1) throw ScpiError(ParameterNotAllowed);
  return params.front();
}

void Analyzer::Call::none() const {
  if (!params.empty()) throw ScpiError(ParameterNotAllowed);
}

Analyzer::Analyzer(uint32_t seed)
    : engine_(seed), clock_([] { return std::chrono::system_clock::now(); }) {}

void Analyzer::queueError(int code) {
  errors_.push(code);
  if (code <= -100 && code > -200) esr_ |= kCommandErrorBit;
  else if (code <= -200 && code > -300) esr_ |= kExecutionErrorBit;
  else if (code <= -300 && code > -400) esr_ |= kDeviceErrorBit;
  else if (code <= -400 && code > -500) esr_ |= kQueryErrorBit;
}

void Analyzer::reportError(int code) { queueError(code); }

uint8_t Analyzer::statusByte() const {
  uint8_t stb = 0;
  if (!errors_.empty()) stb |= 0x04;
  if (esr_ & ese_) stb |= 0x20;
  if (stb & sre_ & ~0x40) stb |= 0x40;
  return stb;
}

void Analyzer::reset() {
  settings_ = Settings{};
  engine_.reset();
  readSinceSweep_ = 0;
}

void Analyzer::sweep() {
  engine_.sweep(settings_);
  readSinceSweep_ = 0;
}

const std::vector<float>& Analyzer::traceForRead(int trace) {
  const unsigned bit = 1u << trace;
  const bool stale = engine_.trace(trace - 1).size() != settings_.points;
  if (stale || (settings_.continuous && (readSinceSweep_ & bit))) sweep();
  readSinceSweep_ |= bit;
  return engine_.trace(trace - 1);
}

std::string Analyzer::traceReply(int trace) {
  const std::vector<float>& dbm = traceForRead(trace);
  std::vector<double>& values = unitValues_;
  values.resize(dbm.size());
  convertFromDbm(dbm.data(), dbm.size(), settings_.unit, values.data());
  if (nonFinitePoints_) {
    constexpr double kNonFinite[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                     -std::numeric_limits<double>::infinity()};
    for (std::size_t i = 0; i < values.size() && i < 3; ++i) values[i] = kNonFinite[i];
  }

  if (settings_.format == DataFormat::Ascii) {
    // ASCII traces are one plain line of comma-separated values, not a block.
    std::string line;
    line.reserve(values.size() * 9 + 1);
    const bool linear = isLinear(settings_.unit);
    char number[32];
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) line.push_back(',');
      if (!std::isfinite(values[i])) {
        line += std::isnan(values[i]) ? "NAN" : values[i] > 0 ? "INF" : "-INF";
      } else if (linear) {
        line.append(number, fmt::format_to(number, "{:.6E}", values[i]));
      } else {
        // Two decimals by integer arithmetic: formatting 300000 floats is the slow part otherwise.
        const long long hundredths = std::llround(values[i] * 100.0);
        const unsigned long long magnitude = static_cast<unsigned long long>(hundredths < 0 ? -hundredths : hundredths);
        if (hundredths < 0) line.push_back('-');
        line.append(number, std::to_chars(number, number + sizeof number, magnitude / 100).ptr);
        line.push_back('.');
        line.push_back(static_cast<char>('0' + magnitude % 100 / 10));
        line.push_back(static_cast<char>('0' + magnitude % 10));
      }
    }
    line.push_back('\n');
    return line;
  }

  // NORM is big-endian, SWAP little-endian.
  static_assert(std::endian::native == std::endian::little, "byte swapping assumes a little-endian host");
  const bool bigEndian = settings_.byteOrder == ByteOrder::Normal;
  const std::size_t width = settings_.format == DataFormat::Real64 ? 8 : 4;
  // The block is built in place: traces are the largest replies, and copies of them cost more
  // than the conversion.
  const std::string length = std::to_string(values.size() * width);
  std::string reply = "#" + std::to_string(length.size()) + length;
  const std::size_t start = reply.size();
  reply.resize(start + values.size() * width + 1);
  char* out = reply.data() + start;
  if (width == 8) {
    for (std::size_t i = 0; i < values.size(); ++i, out += 8) {
      uint64_t bits = std::bit_cast<uint64_t>(values[i]);
      if (bigEndian) bits = __builtin_bswap64(bits);
      std::memcpy(out, &bits, 8);
    }
  } else {
    for (std::size_t i = 0; i < values.size(); ++i, out += 4) {
      uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(values[i]));
      if (bigEndian) bits = __builtin_bswap32(bits);
      std::memcpy(out, &bits, 4);
    }
  }
  reply.back() = '\n';
  return reply;
}

std::string Analyzer::screenImage() {
  std::array<const std::vector<float>*, 3> traces{};
  for (int t = 1; t <= 3; ++t) {
    if (engine_.trace(t - 1).size() != settings_.points) sweep();
    traces[static_cast<std::size_t>(t - 1)] = &engine_.trace(t - 1);
  }
  return renderScreenImage(drawDisplay(settings_, traces), settings_.imageFormat);
}

std::string Analyzer::settingsCommands() const {
  const Settings& s = settings_;
  std::string out = fmt::format(
      ":SENS:FREQ:STAR {};:SENS:FREQ:STOP {};:SENS:BAND:RES {};:SENS:BAND:VID {};"
      ":SENS:POW:RF:ATT {};:UNIT:POW {};:DISP:WIND:TRAC:Y:RLEV {};:SENS:SWE:TIME {};"
      ":SENS:SWE:POIN {};:DISP:WIND:TRAC:Y:SPAC {}",
      s.startHz, s.stopHz, s.rbwHz, s.vbwHz, s.attenuationDb, code(s.unit),
      fromDbm(s.refLevelDbm, s.unit), s.sweepTimeS, s.points, code(s.scale));
  for (int t = 0; t < 3; ++t)
    out += fmt::format(";:TRAC{}:MODE {}", t + 1, code(s.traceModes[static_cast<std::size_t>(t)]));
  static constexpr std::string_view formats[] = {"ASC", "REAL,32", "REAL,64"};
  out += fmt::format(";:INIT:CONT {};:CONF:{};:FORM {};:FORM:BORD {};:HCOP:DEV:LANG {}",
                     s.continuous ? 1 : 0, code(s.measurement),
                     formats[static_cast<int>(s.format)], code(s.byteOrder), code(s.imageFormat));
  return out;
}

std::string Analyzer::execute(std::string_view line) {
  std::vector<Reply> replies = process(line);
  if (replies.size() == 1) return std::move(replies.front().bytes);
  std::string out;
  for (Reply& r : replies) out += r.bytes;
  return out;
}

std::vector<Reply> Analyzer::process(std::string_view line) {
  std::vector<Reply> replies;
  std::vector<std::string> path;  // each message starts at the root
  for (std::string_view text : splitTopLevel(line, ';')) {
    if (trimmed(text).empty()) continue;
    try {
      ProgramUnit unit = parseUnit(text);
      std::vector<std::string> nodes = unit.nodes;
      if (!unit.common && !unit.rooted && !path.empty()) {
        std::vector<std::string> prefixed = path;
        prefixed.insert(prefixed.end(), nodes.begin(), nodes.end());
        // A unit that does not resolve below the current path is tried from the root: people
        // write "INIT:CONT 0;FREQ:STAR 1MHz" meaning two root commands.
        if (Commands::find(prefixed, unit.query)) nodes = std::move(prefixed);
      }
      if (!unit.common) path.assign(nodes.begin(), nodes.end() - 1);
      dispatch(unit, nodes, replies);
    } catch (const ScpiError& e) {
      queueError(e.code());
    }
  }
  return replies;
}

void Analyzer::dispatch(const ProgramUnit& unit, const std::vector<std::string>& nodes,
                        std::vector<Reply>& out) {
  int suffix = 1;
  const Commands::Entry* entry = Commands::find(nodes, unit.query, &suffix);
  if (!entry) throw ScpiError(UndefinedHeader);
  const Call call{suffix, unit.params};
  if (unit.query) out.push_back(entry->query(*this, call));
  else entry->set(*this, call);
}

}  // namespace sim
