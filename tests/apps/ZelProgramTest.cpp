// The zel program run as a user runs it, against the simulated analyzer it starts itself, each
// run in a folder of its own; the workbooks it saves are read back from the .xlsx package.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ZelFolder.h"
#include "automation/Clock.h"
#include "automation/Date.h"
#include "simulator/AnalyzerServer.h"
#include "support/CrLfLines.h"

namespace {

namespace fs = std::filesystem;

using zeltest::Outcome;

// A port that takes connections and never answers: an instrument address that shows whether
// zel tried to connect.
class Listener {
 public:
  Listener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(fd_, 8) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      ADD_FAILURE() << "no loopback listener";
    port_ = ntohs(address.sin_port);
    ::fcntl(fd_, F_SETFL, O_NONBLOCK);
  }
  ~Listener() { ::close(fd_); }
  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", port_); }
  // Whether anybody connected since the last look.
  bool connected() {
    const int client = ::accept(fd_, nullptr, nullptr);
    if (client < 0) return false;
    ::close(client);
    for (int more; (more = ::accept(fd_, nullptr, nullptr)) >= 0;) ::close(more);
    return true;
  }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

// Reads every sheet of an .xlsx: "Sheet!B3" -> the cell's text as stored.
constexpr const char* kReader = R"PY(
import sys, zipfile, posixpath, re, xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
rel = '{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id'
z = zipfile.ZipFile(sys.argv[1])
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
        shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
styles = ET.fromstring(z.read('xl/styles.xml'))
codes = {0: 'General', 11: '0.00E+00'}
for f in styles.iter('{%s}numFmt' % ns['m']): codes[int(f.get('numFmtId'))] = f.get('formatCode')
xfs = [int(x.get('numFmtId', '0')) for x in styles.find('m:cellXfs', ns)]
def relations(part):
    folder, file = part.rsplit('/', 1)
    path = folder + '/_rels/' + file + '.rels'
    if path not in z.namelist(): return []
    return [posixpath.normpath(posixpath.join(folder, r.get('Target'))) for r in ET.fromstring(z.read(path))]
rels = {r.get('Id'): r.get('Target') for r in ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))}
for sheet in ET.fromstring(z.read('xl/workbook.xml')).find('m:sheets', ns):
    name = sheet.get('name')
    print('SHEET ' + name)
    target = rels[sheet.get(rel)].lstrip('/')
    target = target if target.startswith('xl/') else 'xl/' + target
    charts = [c for d in relations(target) if 'drawings/' in d for c in relations(d) if 'charts/' in c]
    print('CHARTS %s %d' % (name, len(charts)))
    for c in charts:
        xml = re.sub(r'<c:numCache>.*?</c:numCache>', '', z.read(c).decode(), flags=re.S)
        print('CHARTXML %s=%s' % (name, xml.replace(name, 'SHEET').replace('\n', ' ')))
    data = ET.fromstring(z.read(target))
    for c in data.iter('{%s}c' % ns['m']):
        v = c.find('m:v', ns)
        text = ''.join(t.text or '' for t in c.iter('{%s}t' % ns['m'])) if c.get('t') == 'inlineStr' else (v.text if v is not None else '')
        if c.get('t') == 's': text = shared[int(text)]
        print(name + '!' + c.get('r') + '=' + text)
        code = codes.get(xfs[int(c.get('s', '0'))], '?')
        if code != 'General': print('FORMAT ' + name + '!' + c.get('r') + '=' + code)
)PY";

class ZelProgram : public zeltest::ZelFolder {
 protected:
  // Runs zel with `arguments`, showing each line it prints to `onLine` with its process id as
  // it comes; returns how zel ended (its exit status, or minus the signal that ended it).
  Outcome watched(const std::vector<std::string>& arguments,
                  const std::function<void(pid_t, const std::string&)>& onLine) const {
    int out[2];
    if (pipe(out) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
      dup2(out[1], STDOUT_FILENO);
      dup2(out[1], STDERR_FILENO);
      close(out[0]);
      if (chdir(folder.c_str()) != 0) _exit(127);
      std::vector<char*> argv{const_cast<char*>(ZEL_PROGRAM)};
      for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(ZEL_PROGRAM, argv.data());
      _exit(127);
    }
    close(out[1]);
    Outcome run;
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1) {
      run.output += c;
      if (c != '\n') {
        line += c;
        continue;
      }
      onLine(child, line);
      line.clear();
    }
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? -WTERMSIG(status) : -1000;
    return run;
  }

  // zel with `arguments`, sent `signal` once its output has shown `after` `times` times.
  Outcome interrupted(const std::vector<std::string>& arguments, const std::string& after, int times,
                      int signal) const {
    int seen = 0;
    const Outcome run = watched(arguments, [&](pid_t zel, const std::string& line) {
      if (line.find(after) != std::string::npos && ++seen == times) kill(zel, signal);
    });
    if (seen < times) ADD_FAILURE() << "\"" << after << "\" never came " << times << " times\n" << run.output;
    return run;
  }

  // The sheets in order, every cell, the number format of each formatted cell and the charts of
  // each sheet, read from the saved package.
  struct Book {
    std::vector<std::string> sheets;
    std::map<std::string, std::string> cells;
    std::map<std::string, std::string> formats;
    std::map<std::string, int> charts;
    std::map<std::string, std::string> chartXml;  // with the sheet's name taken out
    // The measurements' sheets: all but the workbook's own "Sheet1".
    std::vector<std::string> measurements() const {
      std::vector<std::string> taken;
      for (const auto& sheet : sheets)
        if (sheet != "Sheet1") taken.push_back(sheet);
      return taken;
    }
    // The cells of one sheet, by address.
    std::map<std::string, std::string> of(const std::string& sheet) const {
      std::map<std::string, std::string> values;
      for (const auto& [at, value] : cells)
        if (at.rfind(sheet + "!", 0) == 0) values[at.substr(sheet.size() + 1)] = value;
      return values;
    }
  };
  Book read(const std::string& file) const {
    {
      std::ofstream script(folder / "read.py");
      script << kReader;
    }
    const Outcome run = shell(fmt::format("/usr/bin/python3 read.py '{}'", file));
    EXPECT_EQ(run.status, 0) << run.output;
    Book book;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("SHEET ", 0) == 0) {
        book.sheets.push_back(line.substr(6));
      } else if (line.rfind("CHARTS ", 0) == 0) {
        const auto space = line.rfind(' ');
        book.charts[line.substr(7, space - 7)] = std::stoi(line.substr(space + 1));
      } else if (line.rfind("CHARTXML ", 0) == 0) {
        const auto eq = line.find('=');
        book.chartXml[line.substr(9, eq - 9)] = line.substr(eq + 1);
      } else if (line.rfind("FORMAT ", 0) == 0) {
        const auto eq = line.find('=');
        book.formats[line.substr(7, eq - 7)] = line.substr(eq + 1);
      } else if (auto eq = line.find('='); eq != std::string::npos) {
        book.cells[line.substr(0, eq)] = line.substr(eq + 1);
      }
    }
    return book;
  }
  // The cells of one sheet whose text starts with `label`.
  static std::vector<std::string> labelled(const Book& book, const std::string& sheet, const std::string& label) {
    std::vector<std::string> where;
    for (const auto& [at, value] : book.cells)
      if (at.rfind(sheet + "!", 0) == 0 && value.rfind(label, 0) == 0) where.push_back(at.substr(sheet.size() + 1));
    return where;
  }

};

TEST_F(ZelProgram, OneGetDataWritesTheChosenAnnotationsFromTheStartCell) {
  const Outcome run = zel("get-data --start-cell C5 --annotations 'span frequency,Center Frequency' --no-chart "
                          "--out single.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  ASSERT_TRUE(fs::exists(folder / "single.xlsx"));
  const Book book = read("single.xlsx");
  ASSERT_EQ(book.measurements().size(), 1u) << "the workbook's own sheet and the measurement's";
  const std::string data = book.measurements().front();
  EXPECT_TRUE(run.says(data)) << "the summary names the sheet written\n" << run.output;

  EXPECT_EQ(book.cells.at(data + "!C5"), "Frequency (Hz)") << "the x column's heading sits in the start cell";
  EXPECT_EQ(labelled(book, data, "Center Frequency").size(), 1u) << run.output;
  EXPECT_EQ(labelled(book, data, "Span Frequency").size(), 1u);
  EXPECT_TRUE(labelled(book, data, "Attenuation").empty()) << "an annotation not chosen";
  for (const auto& [at, value] : book.cells) {
    if (at.rfind(data + "!", 0) != 0) continue;
    const std::string cell = at.substr(data.size() + 1);
    EXPECT_GE(cell[0], 'C') << cell << " lies left of the start cell";
    EXPECT_GE(std::stoi(cell.substr(cell.find_first_of("0123456789"))), 5) << cell << " lies above the start cell";
  }
  EXPECT_EQ(book.charts.at(data), 0) << "--no-chart";
}

TEST_F(ZelProgram, APlainGetDataDrawsTheChartAndWritesScientificNotationAsTheDialogOpensWithThem) {
  ASSERT_EQ(zel("get-data --out plain.xlsx").status, 0);
  const Book plain = read("plain.xlsx");
  ASSERT_EQ(plain.measurements().size(), 1u);
  const std::string sheet = plain.measurements().front();
  EXPECT_EQ(plain.charts.at(sheet), 1);
  EXPECT_EQ(plain.formats.at(sheet + "!A2"), "0.00E+00") << "the x column";
  EXPECT_EQ(plain.formats.at(sheet + "!B2"), "0.000E+00") << "the first trace";
  // From the active cell A1, with every annotation: the last of the fourteen on row 41.
  const auto cells = plain.of(sheet);
  EXPECT_EQ(cells.at("A1"), "Frequency (Hz)");
  EXPECT_EQ(cells.at("C1"), "Attenuation (dB)");
  EXPECT_EQ(cells.at("C40"), "Video BW (Hz)");

  ASSERT_EQ(zel("get-data --no-chart --no-scientific --out bare.xlsx").status, 0);
  const Book bare = read("bare.xlsx");
  EXPECT_EQ(bare.charts.at(bare.measurements().front()), 0);
  for (const auto& [at, format] : bare.formats) EXPECT_EQ(format.find("E+"), std::string::npos) << at;
}

TEST_F(ZelProgram, ARepeatedRunTakesEachMeasurementWhenDueAndSavesASheetForEach) {
  const Outcome run = zel("get-data --count 3 --interval 00:00:10 --fake-clock --out series.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* line : {"Measurement 1 of 3", "Measurement 2 of 3", "Measurement 3 of 3"})
    EXPECT_TRUE(run.says(line)) << line << "\n" << run.output;
  EXPECT_FALSE(run.says("Measurement 4")) << run.output;
  EXPECT_EQ(read("series.xlsx").measurements().size(), 3u);
  EXPECT_FALSE(fs::exists(folder / "series.xlsx.journal")) << "a saved run leaves no journal";

  // A set start and a duration: the count follows from the interval, the first waits for the start.
  const automation::DateParts now = automation::SystemClock().now().parts();
  const automation::Date start = automation::Date::fromParts(now.year, now.month, now.day, now.hour, now.minute + 2);
  const automation::DateParts at = start.parts();
  const Outcome later = zel(fmt::format("get-data --duration 00:00:30 --interval 00:00:10 --fake-clock --out later.xlsx "
                                        "--start-at '{:04}-{:02}-{:02} {:02}:{:02}'",
                                        at.year, at.month, at.day, at.hour, at.minute));
  ASSERT_EQ(later.status, 0) << later.output;
  EXPECT_TRUE(later.says("Measurement 1 of 3 at " + start.toString())) << later.output;
  EXPECT_TRUE(later.says("Measurement 3 of 3 at " + start.addSeconds(20).toString())) << later.output;
  EXPECT_EQ(read("later.xlsx").measurements().size(), 3u);
}

TEST_F(ZelProgram, StopSignalsEndARunBeforeItsNextMeasurementAndSaveWhatWasMeasured) {
  // The program waits an hour for its second measurement: the signal comes while it waits.
  for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
    SCOPED_TRACE(strsignal(signal));
    const std::string out = fmt::format("stopped-{}.xlsx", signal);
    const Outcome run = interrupted({"get-data", "--count", "3", "--interval", "01:00:00", "--out", out}, "next at",
                                    1, signal);
    EXPECT_EQ(run.status, status) << run.output;
    EXPECT_TRUE(run.says("1 of 3 measurements saved")) << run.output;
    ASSERT_TRUE(fs::exists(folder / out)) << run.output;
    EXPECT_EQ(read(out).measurements().size(), 1u);
    EXPECT_FALSE(fs::exists(folder / (out + ".journal")));
  }
}

TEST_F(ZelProgram, CtrlCWhileTheAnalyzerIsSilentEndsTheRunAtOnceWithWhatWasMeasured) {
  // An analyzer that stops answering after the first measurement: without the stop, the second
  // would wait for the link's time-out, seconds later, and end in "Timed out".
  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  analyzer.start();
  const Outcome run = watched(
      {"get-data", "--instrument", fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()), "--count", "3",
       "--interval", "00:00:01", "--out", "hung.xlsx"},
      [&](pid_t zel, const std::string& line) {
        if (line.find("next at") != std::string::npos) analyzer.setFaults(sim::Faults{.stall = true});
        if (line.find("Measurement 2 of 3") != std::string::npos) kill(zel, SIGINT);
      });
  EXPECT_EQ(run.status, 130) << run.output;
  EXPECT_TRUE(run.says("Stopped while")) << run.output;
  EXPECT_FALSE(run.says("Timed out")) << "zel waited for the link to give up\n" << run.output;
  EXPECT_TRUE(run.says("stopped: 1 of 3 measurements saved")) << run.output;
  ASSERT_TRUE(fs::exists(folder / "hung.xlsx"));
  EXPECT_EQ(read("hung.xlsx").measurements().size(), 1u);
  EXPECT_FALSE(fs::exists(folder / "hung.xlsx.journal"));
}

TEST_F(ZelProgram, ASecondCtrlCWhileTheMeasurementsAreSavedLetsTheSaveFinish) {
  // Twenty measurements take long enough to save for the second Ctrl-C to come in the middle.
  bool first = false, second = false;
  const Outcome run = watched({"get-data", "--count", "40", "--interval", "00:00:01", "--fake-clock", "--out",
                               "twice.xlsx"},
                              [&](pid_t zel, const std::string& line) {
                                if (!first && line.find("Measurement 21 of 40") != std::string::npos)
                                  first = kill(zel, SIGINT) == 0;
                                if (first && !second && line.find("zel: saving") != std::string::npos)
                                  second = kill(zel, SIGINT) == 0;
                              });
  ASSERT_TRUE(second) << run.output;
  EXPECT_EQ(run.status, 130) << run.output;
  EXPECT_TRUE(run.says("still saving what was measured")) << run.output;
  const auto stopped = run.output.find("zel: stopped: ");
  ASSERT_NE(stopped, std::string::npos) << run.output;
  const int saved = std::stoi(run.output.substr(stopped + 14));
  EXPECT_GE(saved, 20) << run.output;
  ASSERT_TRUE(fs::exists(folder / "twice.xlsx"));
  EXPECT_EQ(read("twice.xlsx").measurements().size(), static_cast<size_t>(saved));
  EXPECT_FALSE(fs::exists(folder / "twice.xlsx.journal"));
}

TEST_F(ZelProgram, AnalyzerFaultsEndInAMessageAndKeepEveryMeasurement) {
  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  analyzer.start();
  const std::string instrument = fmt::format("--instrument TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port());

  // Values that are not finite are errors in their cells, and the series is saved whole.
  analyzer.setFaults(sim::Faults{.nonFiniteTrace = true});
  const Outcome nonFinite = zel("get-data " + instrument + " --count 3 --interval 00:00:01 --out nan.xlsx");
  ASSERT_EQ(nonFinite.status, 0) << nonFinite.output;
  const Book book = read("nan.xlsx");
  ASSERT_EQ(book.measurements().size(), 3u);
  for (const std::string& sheet : book.measurements()) {
    SCOPED_TRACE(sheet);
    const auto cells = book.of(sheet);
    for (const char* at : {"B2", "B3", "B4"}) EXPECT_EQ(cells.at(at), "#NUM!") << at;
    EXPECT_NO_THROW(std::stod(cells.at("B5")));
    // Excel would draw the three as zeros: the chart's series starts below them, x and y alike.
    const std::string& chart = book.chartXml.at(sheet);
    EXPECT_NE(chart.find("!$A$5:$A$1002</c:f>"), std::string::npos) << chart;
    EXPECT_NE(chart.find("!$B$5:$B$1002</c:f>"), std::string::npos) << chart;
    EXPECT_EQ(chart.find("$2:"), std::string::npos) << chart;
  }

  // Too many points for the 16-bit rows of a transfer: VB's error, and what it means.
  analyzer.setFaults({});
  analyzer.withAnalyzer([](sim::Analyzer& a) { a.execute(":SENS:SWE:POIN 32767"); });
  const Outcome overflow = zel("get-data " + instrument + " --out overflow.xlsx");
  EXPECT_EQ(overflow.status, 1) << overflow.output;
  EXPECT_TRUE(overflow.says("Error: Overflow\nzel: a worksheet transfer counts rows and points in "
                            "16 bits")) << overflow.output;
}

TEST_F(ZelProgram, AKilledRunIsRecoveredWithEveryMeasurementThatFinished) {
  // The simulator serves the same traces to the same requests: an uninterrupted run shows what
  // the killed one was served.
  ASSERT_EQ(zel("get-data --count 5 --interval 00:00:01 --fake-clock --out whole.xlsx").status, 0);
  const Book whole = read("whole.xlsx");
  ASSERT_EQ(whole.measurements().size(), 5u);

  // Killed as its third measurement starts (the two before are on the disk by then), then a
  // record cut off as the one being written when a process dies leaves it.
  const Outcome killed = interrupted({"get-data", "--count", "5", "--interval", "00:00:01", "--out", "killed.xlsx"},
                                     "Measurement 3 of 5", 1, SIGKILL);
  ASSERT_EQ(killed.status, -SIGKILL) << killed.output;
  ASSERT_FALSE(fs::exists(folder / "killed.xlsx"));
  ASSERT_TRUE(fs::exists(folder / "killed.xlsx.journal"));
  {
    std::ofstream tail(folder / "killed.xlsx.journal", std::ios::binary | std::ios::app);
    const uint32_t header[2] = {100000, 0x12345678};
    tail.write(reinterpret_cast<const char*>(header), sizeof header);
    tail << "the beginning of a sheet";
  }

  const Outcome again = zel("get-data --out killed.xlsx --force");
  EXPECT_EQ(again.status, 2) << again.output;
  EXPECT_TRUE(again.says("zel recover killed.xlsx")) << again.output;
  EXPECT_FALSE(again.says("Measurement")) << again.output;

  const Outcome recovered = zel("recover killed.xlsx");
  ASSERT_EQ(recovered.status, 0) << recovered.output;
  EXPECT_TRUE(recovered.says("left out")) << recovered.output;
  EXPECT_FALSE(fs::exists(folder / "killed.xlsx.journal"));
  const Book book = read("killed.xlsx");
  // Two measurements had finished; a third can have, when the kill came late.
  const size_t finished = book.measurements().size();
  ASSERT_GE(finished, 2u) << recovered.output;
  ASSERT_LE(finished, 3u) << recovered.output;
  // Sheets are added before the active one: the workbooks list them newest first.
  for (size_t i = 0; i < finished; ++i) {
    const std::string sheet = book.measurements()[finished - 1 - i];
    const std::string served = whole.measurements()[4 - i];
    SCOPED_TRACE(sheet + " against " + served);
    const auto cells = book.of(sheet);
    const auto expected = whole.of(served);
    // The analyzer's numbers, in scientific notation; the times of the two runs differ.
    size_t compared = 0, differing = 0;
    for (const auto& [at, format] : whole.formats) {
      if (at.rfind(served + "!", 0) != 0 || format.find("E+") == std::string::npos) continue;
      const std::string cell = at.substr(served.size() + 1);
      ++compared;
      if (cells.count(cell) == 0 || cells.at(cell) != expected.at(cell) ||
          book.formats.count(sheet + "!" + cell) == 0 || book.formats.at(sheet + "!" + cell) != format)
        ++differing;
    }
    EXPECT_GT(compared, 2000u) << "the x column and a trace of 1001 points";
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(cells.size(), expected.size()) << "no cell more or less";
    EXPECT_EQ(book.charts.at(sheet), 1);
    EXPECT_TRUE(book.chartXml.at(sheet) == whole.chartXml.at(served)) << "the chart as it was drawn:\n"
                                                                        << book.chartXml.at(sheet);
  }
  EXPECT_EQ(zel("recover killed.xlsx").status, 2) << "nothing left to recover";
  // The recovered workbook remembers the run's options as a saved one would.
  const Outcome state = zel("setups list --from killed.xlsx");
  EXPECT_EQ(state.status, 0) << state.output;
}

TEST_F(ZelProgram, AClosedPipeCostsOnlyTheLinesNobodyRead) {
  const Outcome run =
      shell(fmt::format("({} get-data --count 3 --interval 00:00:01 --fake-clock --out piped.xlsx; echo $? > status) "
                        "2>&1 | head -c 1",
                        ZEL_PROGRAM));
  std::ifstream status(folder / "status");
  int code = -1;
  status >> code;
  EXPECT_EQ(code, 0) << run.output;
  ASSERT_TRUE(fs::exists(folder / "piped.xlsx"));
  EXPECT_EQ(read("piped.xlsx").measurements().size(), 3u);
}

TEST_F(ZelProgram, OptionsAndTheOutputAreCheckedBeforeAnythingConnects) {
  Listener instrument;
  fs::create_directories(folder / "folder.xlsx");
  std::ofstream(folder / "kept.xlsx") << "an earlier workbook";
  struct Case {
    std::string arguments;
    std::string says;
  };
  for (const Case& c : {
           Case{"--out folder.xlsx", "is a folder"},
           Case{"--out no/such/folder/x.xlsx", "does not exist"},
           Case{"--out /proc/x.xlsx", "no file can be written"},
           Case{"--out trace.csv", "must end in .xlsx"},
           Case{"--out kept.xlsx", "--force"},
           Case{"--out x.xlsx --annotations 'Span Frequency,Colour'", "\"Colour\""},
           Case{"--out x.xlsx --start-at '2027-02-30 08:00'", "2027-02-30 is not a date"},
           Case{"--out x.xlsx --start-at '2026-12-24 -1:00'", "not a time of day"},
           Case{"--out x.xlsx --count 2 --interval 00:60:00", "minutes must be 0 to 59"},
           Case{"--out x.xlsx --count 2 --interval 10s", "HH:MM:SS"},
           Case{"--out x.xlsx --count 501 --interval 00:00:01", "500"},
           Case{"--out x.xlsx --fake-clock", "--fake-clock"},
           Case{"--out x.xlsx --no-such-option", "no-such-option"},
       }) {
    SCOPED_TRACE(c.arguments);
    const Outcome run = zel(fmt::format("get-data --instrument {} {}", instrument.address(), c.arguments));
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_TRUE(run.says(c.says)) << run.output;
    EXPECT_FALSE(instrument.connected()) << "zel connected before refusing";
  }
  EXPECT_TRUE(zel("get-data --out x.xlsx --annotations Colour").says("Instrument Serial Number"))
      << "the valid names are listed";
  EXPECT_EQ(std::ifstream(folder / "kept.xlsx").rdbuf()->in_avail() > 0, true);
  EXPECT_FALSE(fs::exists(folder / "x.xlsx"));
}

TEST_F(ZelProgram, RefusedEntriesAndUnreachableInstrumentsEndWithoutAFile) {
  struct Case {
    const char* name;
    std::string arguments;
    std::string says;
    int status;
  };
  for (const Case& c : {
           Case{"start cell", "--start-cell ZZZ0", "\"ZZZ0\" is not a valid for a start Cell", 2},
           Case{"zero interval", "--count 2 --interval 00:00:00", "The Interval must be a number greater than 0", 2},
           Case{"instrument", "--instrument TCPIP0::127.0.0.1::1::SOCKET", "could not connect", 1},
       }) {
    SCOPED_TRACE(c.name);
    const Outcome run = zel("get-data --out refused.xlsx " + c.arguments);
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_TRUE(run.says(c.says)) << run.output;
    EXPECT_FALSE(run.says("Measurement ")) << run.output;
    EXPECT_FALSE(fs::exists(folder / "refused.xlsx"));
    EXPECT_FALSE(fs::exists(folder / "refused.xlsx.journal"));
  }
}

TEST_F(ZelProgram, HelpAndIdentifyAnswerOnStdout) {
  const Outcome help = shell(fmt::format("{} get-data --help 2>/dev/null", ZEL_PROGRAM));
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.says("Usage: zel get-data")) << help.output;
  for (const char* text : {"Instrument Serial Number", "Sweep Number Of Points", "1 to 500", "below 24 hours"})
    EXPECT_TRUE(help.says(text)) << text << "\n" << help.output;

  const Outcome identity = shell(fmt::format("{} identify 2>/dev/null", ZEL_PROGRAM));
  EXPECT_EQ(identity.status, 0) << identity.output;
  for (const char* text : {"built-in simulated analyzer", "Model:", "Serial number:", "Firmware:", "Span:"})
    EXPECT_TRUE(identity.says(text)) << text << "\n" << identity.output;
}

TEST_F(ZelProgram, AboutShowsTheDialogAndPrintsTheComponentListExactlyAsTheClipboardGetsIt) {
  const Outcome version = zel("--version");
  ASSERT_EQ(version.output.rfind("zel ", 0), 0u) << version.output;
  const std::string fileVersion = version.output.substr(4, version.output.size() - 5) + ".0";

  const Outcome about = zel("about");
  EXPECT_EQ(about.status, 0) << about.output;
  for (const std::string& text : {std::string("Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers\n\n"
                                              "Veltrix for ORV/ZEL-Q/R/VX Series\nSpectrum Analyzers\n\n"
                                              "Supported Models:\n  ORV 3013\n"),
                                  std::string("  ZEL-VX 3067\n\nCorvane on the Web   https://www.corvane.example/\n"),
                                  std::string("ORV on the Web       https://www.corvane.example/veltrix/orv/\n"),
                                  "\nCopyright (C) Corvane, Version " + fileVersion + "\n"})
    EXPECT_TRUE(about.says(text)) << about.output;

  // Lines joined by CR LF, none after the last, and nothing else on stdout.
  const Outcome list = zel("about --components > list.txt");
  EXPECT_EQ(list.status, 0) << list.output;
  EXPECT_EQ(list.output, "") << "nothing on stderr";
  std::ifstream file(folder / "list.txt", std::ios::binary);
  const std::string copied((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::vector<std::string> lines = testsupport::crlfLines(copied);
  const std::string missing = "\t\t\tThis PROGID was not registered on this system";
  ASSERT_EQ(lines.size(), 11u) << copied;
  EXPECT_EQ(lines[0].rfind("ZELControlProj.ocx\t" + fileVersion + "\t", 0), 0u) << lines[0];
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()),
            (std::vector<std::string>{"NDXLServers.dll\t1.4.0.2\t11/20/2024\t", "KroRS232.dll\t2.1.0.3\t??\t", lines[0],
                                      "KroIONI488.GPIB" + missing, "KroIOUtils.KroIOServer" + missing,
                                      "KroIO.GPIB" + missing, "KroInstrUtilities.dll\t2.1.0.4\t03/14/2025\t",
                                      "KroInstrSetups.ocx\t2.1.0.3\t04/11/2025\t", "KroZEL.dll\t2.1.0.7\t??\t",
                                      "KroDiscovery.ocx\t2.1.0.9\t05/02/2025\t"}));
  EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 10) << "no line feed but those of the CR LFs";

  // Without a display a followed link is printed for the person at the terminal.
  const Outcome open =
      shell(fmt::format("env -u DISPLAY -u WAYLAND_DISPLAY {} about --open 'ZEL on the Web'", ZEL_PROGRAM));
  EXPECT_EQ(open.status, 0);
  EXPECT_EQ(open.output, "Open in a web browser: https://www.corvane.example/veltrix/zel/\n");
  const Outcome unknown = zel("about --open 'Home page'");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.says("no link \"Home page\"")) << unknown.output;
}

// ---- the state a workbook keeps ------------------------------------------------------------------

TEST_F(ZelProgram, GetDataFromASavedWorkbookOpensWithItsOptions) {
  ASSERT_EQ(zel("get-data --start-cell C5 --annotations 'Center Frequency' --no-chart --out first.xlsx").status, 0);
  const auto firstWritten = fs::last_write_time(folder / "first.xlsx");
  // Nothing typed this time: the dialog shows what the workbook remembers.
  const Outcome run = zel("get-data --from first.xlsx --out second.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  const Book book = read("second.xlsx");
  const std::string data = book.sheets.front() == "Sheet1" ? book.sheets.back() : book.sheets.front();
  EXPECT_EQ(book.cells.at(data + "!C5"), "Frequency (Hz)") << run.output;
  EXPECT_EQ(labelled(book, data, "Center Frequency").size(), 1u);
  EXPECT_TRUE(labelled(book, data, "Attenuation").empty());
  // The analyzer of the first run is gone: the simulated one of this run answers instead.
  EXPECT_TRUE(run.says("built-in simulated analyzer at")) << run.output;
  EXPECT_EQ(fs::last_write_time(folder / "first.xlsx"), firstWritten);
}

TEST_F(ZelProgram, SetupsCaptureListAndRestoreTheAnalyzersSettings) {
  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  analyzer.start();
  const std::string address = fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port());
  const auto attenuation = [&](const char* value) {
    analyzer.withAnalyzer([&](sim::Analyzer& a) { a.execute(std::string(":POW:ATT ") + value); });
  };
  attenuation("30");
  const Outcome wide = zel("setups capture wide --instrument " + address + " --out one.xlsx");
  ASSERT_EQ(wide.status, 0) << wide.output;
  attenuation("50");
  // The saved link reconnects without naming the analyzer again; the earlier state is kept.
  const Outcome narrow = zel("setups capture narrow --from one.xlsx --out two.xlsx");
  ASSERT_EQ(narrow.status, 0) << narrow.output;
  EXPECT_TRUE(narrow.says("Reconnected to " + address)) << narrow.output;

  const Outcome list = shell(fmt::format("( {} setups list --from two.xlsx 2>/dev/null )", ZEL_PROGRAM));
  ASSERT_EQ(list.status, 0) << list.output;
  EXPECT_EQ(list.output.substr(0, 5), "wide\t") << list.output;
  EXPECT_EQ(std::count(list.output.begin(), list.output.end(), '\n'), 2) << list.output;
  EXPECT_TRUE(list.says("\nnarrow\t")) << list.output;

  attenuation("10");
  const Outcome restored = zel("setups restore WIDE --from two.xlsx");
  ASSERT_EQ(restored.status, 0) << restored.output;
  EXPECT_EQ(analyzer.withAnalyzer([](sim::Analyzer& a) { return a.settings().attenuationDb; }), 30);

  const Outcome unknown = zel("setups restore medium --from two.xlsx");
  EXPECT_NE(unknown.status, 0);
  EXPECT_TRUE(unknown.says("no state named \"medium\"")) << unknown.output;
}

TEST_F(ZelProgram, SetupsImportKeepsAnOlderAnalyzersFile) {
  std::ofstream(folder / "bench.set", std::ios::binary)
      << "NORDAL SETUP FILE\nv1\nsaved\nMODEL ZEL-Q 3008\n#15ABCDE" << std::string(120, 'x');
  const Outcome run = zel("setups import bench.set --out imported.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  const Outcome list = shell(fmt::format("( {} setups list --from imported.xlsx 2>/dev/null )", ZEL_PROGRAM));
  EXPECT_EQ(list.output, "bench\tZEL-Q 3008, version *\n");

  std::ofstream(folder / "notes.txt") << std::string(150, 'n');
  const Outcome refused = zel("setups import notes.txt --out notes.xlsx");
  EXPECT_NE(refused.status, 0);
  EXPECT_TRUE(refused.says("is not a settings file")) << refused.output;
  EXPECT_FALSE(fs::exists(folder / "notes.xlsx"));
}

TEST_F(ZelProgram, ASavedStateThatCannotBeOpenedIsRefusedBeforeAnythingIsMeasured) {
  ASSERT_EQ(zel("get-data --out saved.xlsx").status, 0);
  // The same workbook with its state marked as written by a newer zel.
  const Outcome newer = shell(R"(/usr/bin/python3 -c '
import base64, re, zipfile
src = zipfile.ZipFile("saved.xlsx")
out = zipfile.ZipFile("newer.xlsx", "w")
for item in src.infolist():
    data = src.read(item.filename)
    if item.filename == "customXml/item1.xml":
        text = data.decode()
        m = re.search(r">([A-Za-z0-9+/=]+)<", text)
        bag = bytearray(base64.b64decode(m.group(1)))
        bag[4] = 2
        data = (text[:m.start(1)] + base64.b64encode(bytes(bag)).decode() + text[m.end(1):]).encode()
    out.writestr(item, data)
out.close()')");
  ASSERT_EQ(newer.status, 0) << newer.output;
  std::ofstream(folder / "text.xlsx") << "not a workbook";

  struct Case {
    std::string file, says;
  };
  for (const Case& c : {Case{"newer.xlsx", "property bag version 2 is not supported"},
                        Case{"text.xlsx", "is not an Office package"}}) {
    SCOPED_TRACE(c.file);
    const auto before = fs::last_write_time(folder / c.file);
    const Outcome run = zel("get-data --from " + c.file + " --out refused.xlsx");
    EXPECT_NE(run.status, 0);
    EXPECT_TRUE(run.says(c.says)) << run.output;
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_FALSE(run.says("Measurement") || run.says("simulated analyzer")) << run.output;
    EXPECT_FALSE(fs::exists(folder / "refused.xlsx"));
    EXPECT_EQ(fs::last_write_time(folder / c.file), before);
  }
}

}  // namespace
