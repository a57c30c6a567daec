// The command set. Long forms are written with their short form in upper case; [ ] marks an
// optional node, # a numeric suffix (1 when left out). Frequencies take HZ/KHZ/MHZ/GHZ, times
// S/MS/US/NS, levels DB/DBM; numbers also take MIN, MAX and DEF.
//
// | Header                                        | Short form        | Set | Query | Parameter / answer                          |
// |-----------------------------------------------|-------------------|-----|-------|---------------------------------------------|
// | *IDN?                                         |                   |     |  x    | maker,model,serial,firmware                 |
// | *RST, *CLS, *WAI                              |                   |  x  |       | reset settings / clear status / no-op       |
// | *OPC, *OPC?                                   |                   |  x  |  x    | sets ESR bit 0 / answers 1 (sweeps are done)|
// | *ESR?, *ESE, *SRE, *STB?                      |                   |  x  |  x    | IEEE 488.2 status registers                 |
// | *LRN?                                         |                   |     |  x    | the settings as a command line              |
// | *TST?                                         |                   |     |  x    | 0                                           |
// | SYSTem:ERRor[:NEXT]?                          | SYST:ERR?         |     |  x    | code,"text"; 0,"No error" when empty        |
// | SYSTem:ERRor:COUNt?                           | SYST:ERR:COUN?    |     |  x    | errors queued                               |
// | SYSTem:PRESet                                 | SYST:PRES         |  x  |       | as *RST                                     |
// | SYSTem:VERSion?                               | SYST:VERS?        |     |  x    | 1999.0                                      |
// | SYSTem:DATE                                   | SYST:DATE         |  x  |  x    | yyyy,mm,dd                                  |
// | SYSTem:TIME                                   | SYST:TIME         |  x  |  x    | hh,mm,ss                                    |
// | SYSTem:SET                                    | SYST:SET          |  x  |  x    | the settings image, a definite-length block |
// | [SENSe:]FREQuency:STARt / STOP / CENTer / SPAN| FREQ:STAR ...     |  x  |  x    | Hz; start = stop is zero span               |
// | [SENSe:]BANDwidth|BWIDth[:RESolution]         | BAND, BWID        |  x  |  x    | resolution bandwidth, Hz                    |
// | [SENSe:]BANDwidth|BWIDth:VIDeo                | BAND:VID          |  x  |  x    | video bandwidth, Hz                         |
// | [SENSe:]POWer[:RF]:ATTenuation                | POW:ATT           |  x  |  x    | dB, 0 to 70                                 |
// | [SENSe:]SWEep:TIME                            | SWE:TIME          |  x  |  x    | s                                           |
// | [SENSe:]SWEep:POINts                          | SWE:POIN          |  x  |  x    | 1 to 100001                                 |
// | DISPlay[:WINDow]:TRACe:Y[:SCALe]:RLEVel       | DISP:TRAC:Y:RLEV  |  x  |  x    | reference level in the amplitude unit       |
// | DISPlay[:WINDow]:TRACe:Y[:SCALe]:SPACing      | DISP:TRAC:Y:SPAC  |  x  |  x    | LOG or LIN                                  |
// | UNIT:POWer                                    | UNIT:POW          |  x  |  x    | DBM DBMV DBUV V W DBUVM UVM DBPT PT DBG GAUS DBUAM UAM |
// | TRACe#:MODE, DISPlay[:WINDow]:TRACe#:MODE     | TRAC2:MODE        |  x  |  x    | WRIT MAXH MINH VIEW BLAN                    |
// | TRACe[:DATA]? TRACE1|2|3                      | TRAC? TRACE1      |     |  x    | trace in FORMat, amplitude unit             |
// | FORMat[:DATA]                                 | FORM              |  x  |  x    | ASCii, REAL[,32], REAL,64                   |
// | FORMat:BORDer                                 | FORM:BORD         |  x  |  x    | NORMal (big-endian) or SWAPped              |
// | INITiate:CONTinuous                           | INIT:CONT         |  x  |  x    | 1 continuous, 0 single sweep                |
// | INITiate[:IMMediate]                          | INIT              |  x  |       | one sweep, complete before the next command |
// | ABORt                                         | ABOR              |  x  |       | no-op: sweeps are instantaneous             |
// | CONFigure:SANalyzer / CHPower / ACPower / NONE| CONF:SAN ...      |  x  |       | selects the measurement                     |
// | CONFigure?                                    | CONF?             |     |  x    | SAN, CHP, ACP or NONE                       |
// | HCOPy:DEVice:LANGuage                         | HCOP:DEV:LANG     |  x  |  x    | GIF BMP JPEG TIFF WMF EMF                   |
// | HCOPy:DATA?                                   | HCOP:DATA?        |     |  x    | the screen image, a definite-length block   |
#include "simulator/Commands.h"

#include <fmt/format.h>

#include <cmath>
#include <ctime>

#include "simulator/ScpiError.h"
#include "simulator/SettingsImage.h"
#include "simulator/Units.h"

namespace sim {
namespace {

Reply text(std::string s) { return {Reply::Kind::Text, std::move(s) + "\n"}; }
Reply number(double v) { return {Reply::Kind::Number, fmt::format("{}\n", v)}; }
Reply integer(long long v) { return {Reply::Kind::Number, fmt::format("{}\n", v)}; }
Reply block(std::string_view data) { return {Reply::Kind::Block, definiteBlock(data)}; }

std::tm localTime(std::chrono::system_clock::time_point t) {
  const std::time_t c = std::chrono::system_clock::to_time_t(t);
  std::tm tm{};
  localtime_r(&c, &tm);
  return tm;
}

// Integer parameters of :SYST:DATE and :SYST:TIME.
int intParam(const Param& p, int min, int max) {
  return static_cast<int>(std::lround(p.number(Suffix::None, min, max, min)));
}

}  // namespace

const std::vector<Commands::Entry>& Commands::table() {
  using A = Analyzer;
  using C = Analyzer::Call;
  constexpr double kMaxHz = Limits::maxFrequencyHz;

  static const std::vector<Entry> entries = [] {
    std::vector<Entry> e;
    auto add = [&](const char* pattern, A::SetHandler set, A::QueryHandler query) {
      e.push_back({HeaderPattern(pattern), set, query});
    };

    // --- IEEE 488.2 common commands
    add("*IDN", nullptr, [](A& a, const C& c) {
      c.none();
      const Identity& id = a.identity_;
      return text(fmt::format("{},{},{},{}", id.maker, id.model, id.serial, id.firmware));
    });
    add("*RST", [](A& a, const C& c) { c.none(); a.reset(); }, nullptr);
    add("*CLS", [](A& a, const C& c) {
      c.none();
      a.errors_.clear();
      a.esr_ = 0;
    }, nullptr);
    add("*OPC", [](A& a, const C& c) { c.none(); a.esr_ |= 0x01; },
        [](A&, const C& c) { c.none(); return integer(1); });
    add("*WAI", [](A&, const C& c) { c.none(); }, nullptr);
    add("*ESR", nullptr, [](A& a, const C& c) {
      c.none();
      const int v = a.esr_;
      a.esr_ = 0;
      return integer(v);
    });
    add("*ESE", [](A& a, const C& c) { a.ese_ = static_cast<uint8_t>(intParam(c.only(), 0, 255)); },
        [](A& a, const C& c) { c.none(); return integer(a.ese_); });
    add("*SRE", [](A& a, const C& c) { a.sre_ = static_cast<uint8_t>(intParam(c.only(), 0, 255) & ~0x40); },
        [](A& a, const C& c) { c.none(); return integer(a.sre_); });
    add("*STB", nullptr, [](A& a, const C& c) { c.none(); return integer(a.statusByte()); });
    add("*LRN", nullptr, [](A& a, const C& c) { c.none(); return text(a.settingsCommands()); });
    add("*TST", nullptr, [](A&, const C& c) { c.none(); return integer(0); });

    // --- System
    add("SYSTem:ERRor[:NEXT]", nullptr, [](A& a, const C& c) { c.none(); return text(a.errors_.pop()); });
    add("SYSTem:ERRor:COUNt", nullptr, [](A& a, const C& c) {
      c.none();
      return integer(static_cast<long long>(a.errors_.size()));
    });
    add("SYSTem:PRESet", [](A& a, const C& c) { c.none(); a.reset(); }, nullptr);
    add("SYSTem:VERSion", nullptr, [](A&, const C& c) { c.none(); return text("1999.0"); });
    add("SYSTem:DATE",
        [](A& a, const C& c) {
          if (c.params.size() != 3) throw ScpiError(c.params.size() < 3 ? MissingParameter : ParameterNotAllowed);
          const auto now = a.now();
          std::tm tm = localTime(now);
          tm.tm_year = intParam(c.params[0], 1980, 2099) - 1900;
          tm.tm_mon = intParam(c.params[1], 1, 12) - 1;
          tm.tm_mday = intParam(c.params[2], 1, 31);
          tm.tm_isdst = -1;
          a.clockOffset_ += std::chrono::system_clock::from_time_t(std::mktime(&tm)) -
                            std::chrono::time_point_cast<std::chrono::seconds>(now);
        },
        [](A& a, const C& c) {
          c.none();
          const std::tm tm = localTime(a.now());
          return text(fmt::format("{},{:02},{:02}", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday));
        });
    add("SYSTem:TIME",
        [](A& a, const C& c) {
          if (c.params.size() != 3) throw ScpiError(c.params.size() < 3 ? MissingParameter : ParameterNotAllowed);
          const auto now = a.now();
          std::tm tm = localTime(now);
          tm.tm_hour = intParam(c.params[0], 0, 23);
          tm.tm_min = intParam(c.params[1], 0, 59);
          tm.tm_sec = intParam(c.params[2], 0, 59);
          tm.tm_isdst = -1;
          a.clockOffset_ += std::chrono::system_clock::from_time_t(std::mktime(&tm)) -
                            std::chrono::time_point_cast<std::chrono::seconds>(now);
        },
        [](A& a, const C& c) {
          c.none();
          const std::tm tm = localTime(a.now());
          return text(fmt::format("{:02},{:02},{:02}", tm.tm_hour, tm.tm_min, tm.tm_sec));
        });
    add("SYSTem:SET",
        [](A& a, const C& c) {
          const auto restored = decodeSettingsImage(c.only().block());
          if (!restored) throw ScpiError(IllegalParameterValue);
          a.settings_ = *restored;
        },
        [](A& a, const C& c) { c.none(); return block(encodeSettingsImage(a.settings_)); });

    // --- Frequency axis. Start and stop are the state; centre and span are derived, and setting
    // one of them keeps the other where the instrument's range allows.
    add("[SENSe:]FREQuency:STARt",
        [](A& a, const C& c) {
          Settings& s = a.settings_;
          s.startHz = c.only().number(Suffix::Frequency, 0, kMaxHz, 0);
          if (s.stopHz < s.startHz) s.stopHz = s.startHz;
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.startHz); });
    add("[SENSe:]FREQuency:STOP",
        [](A& a, const C& c) {
          Settings& s = a.settings_;
          s.stopHz = c.only().number(Suffix::Frequency, 0, kMaxHz, kMaxHz);
          if (s.startHz > s.stopHz) s.startHz = s.stopHz;
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.stopHz); });
    add("[SENSe:]FREQuency:CENTer",
        [](A& a, const C& c) {
          Settings& s = a.settings_;
          const double center = c.only().number(Suffix::Frequency, 0, kMaxHz, kMaxHz / 2);
          const double half = std::min({s.spanHz() / 2, center, kMaxHz - center});
          s.startHz = center - half;
          s.stopHz = center + half;
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.centerHz()); });
    add("[SENSe:]FREQuency:SPAN",
        [](A& a, const C& c) {
          Settings& s = a.settings_;
          const double span = c.only().number(Suffix::Frequency, 0, kMaxHz, kMaxHz);
          const double center = std::clamp(s.centerHz(), span / 2, kMaxHz - span / 2);
          s.startHz = center - span / 2;
          s.stopHz = center + span / 2;
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.spanHz()); });

    // --- Bandwidths, attenuation, sweep
    for (const char* p : {"[SENSe:]BANDwidth[:RESolution]", "[SENSe:]BWIDth[:RESolution]"})
      add(p,
          [](A& a, const C& c) {
            a.settings_.rbwHz = c.only().number(Suffix::Frequency, Limits::minRbwHz, Limits::maxRbwHz, 3e6);
          },
          [](A& a, const C& c) { c.none(); return number(a.settings_.rbwHz); });
    for (const char* p : {"[SENSe:]BANDwidth:VIDeo", "[SENSe:]BWIDth:VIDeo"})
      add(p,
          [](A& a, const C& c) {
            a.settings_.vbwHz = c.only().number(Suffix::Frequency, Limits::minVbwHz, Limits::maxVbwHz, 3e6);
          },
          [](A& a, const C& c) { c.none(); return number(a.settings_.vbwHz); });
    add("[SENSe:]POWer[:RF]:ATTenuation",
        [](A& a, const C& c) {
          a.settings_.attenuationDb = c.only().number(Suffix::Level, 0, Limits::maxAttenuationDb, 10);
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.attenuationDb); });
    add("[SENSe:]SWEep:TIME",
        [](A& a, const C& c) {
          a.settings_.sweepTimeS =
              c.only().number(Suffix::Time, Limits::minSweepTimeS, Limits::maxSweepTimeS, 0.1);
        },
        [](A& a, const C& c) { c.none(); return number(a.settings_.sweepTimeS); });
    add("[SENSe:]SWEep:POINts",
        [](A& a, const C& c) {
          const double v = c.only().number(Suffix::None, Limits::minPoints, Limits::maxPoints, 1001);
          a.settings_.points = static_cast<uint32_t>(std::lround(v));
        },
        [](A& a, const C& c) { c.none(); return integer(a.settings_.points); });

    // --- Amplitude
    for (const char* p : {"DISPlay[:WINDow#]:TRACe#:Y[:SCALe]:RLEVel", "DISPlay[:WINDow#]:Y[:SCALe]:RLEVel"})
      add(p,
          [](A& a, const C& c) {
            Settings& s = a.settings_;
            const double v = c.only().number(Suffix::Level, -1e300, 1e300, fromDbm(0, s.unit));
            const double dbm = toDbm(v, s.unit);
            if (!(dbm >= Limits::minRefLevelDbm && dbm <= Limits::maxRefLevelDbm)) throw ScpiError(DataOutOfRange);
            s.refLevelDbm = dbm;
          },
          [](A& a, const C& c) {
            c.none();
            return number(fromDbm(a.settings_.refLevelDbm, a.settings_.unit));
          });
    for (const char* p : {"DISPlay[:WINDow#]:TRACe#:Y[:SCALe]:SPACing", "DISPlay[:WINDow#]:Y[:SCALe]:SPACing"})
      add(p,
          [](A& a, const C& c) {
            const auto v = scaleFromCode(c.only().mnemonic());
            if (!v) throw ScpiError(IllegalParameterValue);
            a.settings_.scale = *v;
          },
          [](A& a, const C& c) { c.none(); return text(std::string(code(a.settings_.scale))); });
    add("UNIT:POWer",
        [](A& a, const C& c) {
          const auto v = unitFromCode(c.only().mnemonic());
          if (!v) throw ScpiError(IllegalParameterValue);
          a.settings_.unit = *v;
        },
        [](A& a, const C& c) { c.none(); return text(std::string(code(a.settings_.unit))); });

    // --- Traces
    for (const char* p : {"TRACe#:MODE", "DISPlay[:WINDow#]:TRACe#:MODE"})
      add(p,
          [](A& a, const C& c) {
            if (c.suffix < 1 || c.suffix > 3) throw ScpiError(HeaderSuffixOutOfRange);
            const auto v = traceModeFromCode(c.only().mnemonic());
            if (!v) throw ScpiError(IllegalParameterValue);
            auto& mode = a.settings_.traceModes[static_cast<std::size_t>(c.suffix - 1)];
            if (*v != mode && (*v == TraceMode::MaxHold || *v == TraceMode::MinHold || *v == TraceMode::Write))
              a.engine_.restartHold(c.suffix - 1);
            mode = *v;
          },
          [](A& a, const C& c) {
            c.none();
            if (c.suffix < 1 || c.suffix > 3) throw ScpiError(HeaderSuffixOutOfRange);
            return text(std::string(code(a.settings_.traceModes[static_cast<std::size_t>(c.suffix - 1)])));
          });
    add("TRACe#[:DATA]", nullptr, [](A& a, const C& c) {
      int trace = c.suffix;
      if (!c.params.empty()) {
        const std::string name = c.only().mnemonic();
        if (name == "TRACE1" || name == "TRACE2" || name == "TRACE3") trace = name.back() - '0';
        else throw ScpiError(IllegalParameterValue);
      }
      if (trace < 1 || trace > 3) throw ScpiError(HeaderSuffixOutOfRange);
      const Reply::Kind kind = a.settings_.format == DataFormat::Ascii ? Reply::Kind::Text : Reply::Kind::Block;
      return Reply{kind, a.traceReply(trace)};
    });
    add("FORMat[:DATA]",
        [](A& a, const C& c) {
          if (c.params.empty()) throw ScpiError(MissingParameter);
          if (c.params.size() > 2) throw ScpiError(ParameterNotAllowed);
          const std::string kind = c.params[0].mnemonic();
          DataFormat format;
          if (kind == "ASC" || kind == "ASCII") {
            if (c.params.size() > 1) c.params[1].number(Suffix::None, 0, 64, 0);  // ASC,8 is accepted
            format = DataFormat::Ascii;
          } else if (kind == "REAL") {
            const double bits = c.params.size() > 1 ? c.params[1].number(Suffix::None, 0, 64, 32) : 32;
            if (bits != 32 && bits != 64) throw ScpiError(IllegalParameterValue);
            format = bits == 32 ? DataFormat::Real32 : DataFormat::Real64;
          } else {
            throw ScpiError(IllegalParameterValue);
          }
          a.settings_.format = format;
        },
        [](A& a, const C& c) {
          c.none();
          static constexpr const char* names[] = {"ASC,8", "REAL,32", "REAL,64"};
          return text(names[static_cast<int>(a.settings_.format)]);
        });
    add("FORMat:BORDer",
        [](A& a, const C& c) {
          const auto v = byteOrderFromCode(c.only().mnemonic());
          if (!v) throw ScpiError(IllegalParameterValue);
          a.settings_.byteOrder = *v;
        },
        [](A& a, const C& c) { c.none(); return text(std::string(code(a.settings_.byteOrder))); });

    // --- Sweep control and measurement
    add("INITiate:CONTinuous", [](A& a, const C& c) { a.settings_.continuous = c.only().boolean(); },
        [](A& a, const C& c) { c.none(); return integer(a.settings_.continuous ? 1 : 0); });
    add("INITiate[:IMMediate]", [](A& a, const C& c) { c.none(); a.sweep(); }, nullptr);
    add("ABORt", [](A&, const C& c) { c.none(); }, nullptr);
    add("CONFigure:SANalyzer", [](A& a, const C& c) { c.none(); a.settings_.measurement = Measurement::SweptAnalyzer; }, nullptr);
    add("CONFigure:CHPower", [](A& a, const C& c) { c.none(); a.settings_.measurement = Measurement::ChannelPower; }, nullptr);
    add("CONFigure:ACPower", [](A& a, const C& c) { c.none(); a.settings_.measurement = Measurement::AdjacentChannelPower; }, nullptr);
    add("CONFigure:NONE", [](A& a, const C& c) { c.none(); a.settings_.measurement = Measurement::None; }, nullptr);
    add("CONFigure", nullptr, [](A& a, const C& c) {
      c.none();
      return text(std::string(code(a.settings_.measurement)));
    });

    // --- Screen image
    add("HCOPy:DEVice:LANGuage",
        [](A& a, const C& c) {
          const auto v = imageFormatFromCode(c.only().mnemonic());
          if (!v) throw ScpiError(IllegalParameterValue);
          a.settings_.imageFormat = *v;
        },
        [](A& a, const C& c) { c.none(); return text(std::string(code(a.settings_.imageFormat))); });
    add("HCOPy:DATA", nullptr, [](A& a, const C& c) {
      c.none();
      return Reply{Reply::Kind::Block, definiteBlock(a.screenImage())};
    });
    return e;
  }();
  return entries;
}

const Commands::Entry* Commands::find(const std::vector<std::string>& nodes, bool query, int* suffix) {
  for (const Entry& entry : table()) {
    if (query ? !entry.query : !entry.set) continue;
    if (const auto s = entry.pattern.match(nodes)) {
      if (suffix) *suffix = *s;
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace sim
