// The zel program run as a user runs it, against the simulated analyzer it starts itself, each
// run in a folder of its own; the workbooks it saves are read back from the .xlsx package.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "automation/Clock.h"
#include "automation/Date.h"
#include "simulator/AnalyzerServer.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string output;
  bool says(const std::string& text) const { return output.find(text) != std::string::npos; }
};

// Reads every sheet of an .xlsx: "Sheet!B3" -> the cell's text as stored.
constexpr const char* kReader = R"PY(
import sys, zipfile, re, xml.etree.ElementTree as ET
ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}
rel = '{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id'
z = zipfile.ZipFile(sys.argv[1])
shared = []
if 'xl/sharedStrings.xml' in z.namelist():
    for si in ET.fromstring(z.read('xl/sharedStrings.xml')).findall('m:si', ns):
        shared.append(''.join(t.text or '' for t in si.iter('{%s}t' % ns['m'])))
rels = {r.get('Id'): r.get('Target') for r in ET.fromstring(z.read('xl/_rels/workbook.xml.rels'))}
for sheet in ET.fromstring(z.read('xl/workbook.xml')).find('m:sheets', ns):
    name = sheet.get('name')
    print('SHEET ' + name)
    target = rels[sheet.get(rel)].lstrip('/')
    data = ET.fromstring(z.read(target if target.startswith('xl/') else 'xl/' + target))
    for c in data.iter('{%s}c' % ns['m']):
        v = c.find('m:v', ns)
        text = ''.join(t.text or '' for t in c.iter('{%s}t' % ns['m'])) if c.get('t') == 'inlineStr' else (v.text if v is not None else '')
        if c.get('t') == 's': text = shared[int(text)]
        print(name + '!' + c.get('r') + '=' + text)
)PY";

class ZelProgram : public ::testing::Test {
 protected:
  ZelProgram() {
    folder = fs::temp_directory_path() /
             fmt::format("zel-program-{}-{}", ::testing::UnitTest::GetInstance()->current_test_info()->name(), getpid());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~ZelProgram() override { fs::remove_all(folder); }

  Outcome zel(const std::string& arguments) const { return shell(fmt::format("{} {}", ZEL_PROGRAM, arguments)); }

  Outcome shell(const std::string& command) const {
    Outcome run;
    FILE* pipe = popen(fmt::format("cd '{}' && {} 2>&1", folder.string(), command).c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  // The sheets in order and every cell, read from the saved package.
  struct Book {
    std::vector<std::string> sheets;
    std::map<std::string, std::string> cells;
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
      if (line.rfind("SHEET ", 0) == 0)
        book.sheets.push_back(line.substr(6));
      else if (auto eq = line.find('='); eq != std::string::npos)
        book.cells[line.substr(0, eq)] = line.substr(eq + 1);
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

  fs::path folder;
};

TEST_F(ZelProgram, OneGetDataWritesTheChosenAnnotationsFromTheStartCell) {
  const Outcome run = zel("get-data --start-cell C5 --annotations 'span frequency,Center Frequency' --no-chart "
                      "--out single.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  ASSERT_TRUE(fs::exists(folder / "single.xlsx"));
  const Book book = read("single.xlsx");
  ASSERT_GE(book.sheets.size(), 2u) << "the workbook's own sheet and the measurement's";
  const std::string data = book.sheets.front() == "Sheet1" ? book.sheets.back() : book.sheets.front();
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

  // The same file again is kept unless the user insists.
  const auto written = fs::last_write_time(folder / "single.xlsx");
  const Outcome again = zel("get-data --out single.xlsx");
  EXPECT_NE(again.status, 0);
  EXPECT_TRUE(again.says("--force")) << again.output;
  EXPECT_EQ(fs::last_write_time(folder / "single.xlsx"), written);
}

TEST_F(ZelProgram, ARepeatedRunTakesEachMeasurementWhenDueAndSavesASheetForEach) {
  const Outcome run = zel("get-data --count 3 --interval 00:00:10 --fake-clock --out series.xlsx");
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* line : {"Measurement 1 of 3", "Measurement 2 of 3", "Measurement 3 of 3"})
    EXPECT_TRUE(run.says(line)) << line << "\n" << run.output;
  EXPECT_FALSE(run.says("Measurement 4")) << run.output;

  const Book book = read("series.xlsx");
  const Book single = [&] {
    EXPECT_EQ(zel("get-data --out one.xlsx").status, 0);
    return read("one.xlsx");
  }();
  EXPECT_EQ(book.sheets.size(), single.sheets.size() + 2) << "a sheet per measurement";

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
  EXPECT_EQ(read("later.xlsx").sheets.size(), single.sheets.size() + 2);
}

TEST_F(ZelProgram, CtrlCStopsARunBeforeItsNextMeasurementAndSavesWhatWasMeasured) {
  // The program waits an hour for its second measurement: the interrupt comes while it waits.
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    dup2(out[1], STDERR_FILENO);
    close(out[0]);
    if (chdir(folder.c_str()) != 0) _exit(127);
    execl(ZEL_PROGRAM, ZEL_PROGRAM, "get-data", "--count", "3", "--interval", "01:00:00", "--out", "stopped.xlsx",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string output;
  char c;
  bool interrupted = false;
  while (::read(out[0], &c, 1) == 1) {
    output += c;
    if (!interrupted && output.find("next at") != std::string::npos && c == '\n') {
      kill(child, SIGINT);
      interrupted = true;
    }
  }
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(interrupted) << output;
  ASSERT_TRUE(WIFEXITED(status)) << "the interrupt ends the run, not the program\n" << output;
  EXPECT_EQ(WEXITSTATUS(status), 0) << output;
  EXPECT_TRUE(output.find("Stopped after 1 of 3") != std::string::npos) << output;
  ASSERT_TRUE(fs::exists(folder / "stopped.xlsx"));
  EXPECT_EQ(zel("get-data --out one.xlsx").status, 0);
  EXPECT_EQ(read("stopped.xlsx").sheets.size(), read("one.xlsx").sheets.size()) << "the one measurement taken";
}

TEST_F(ZelProgram, RefusedEntriesAndUnreachableInstrumentsEndWithoutAFile) {
  struct Case {
    const char* name;
    std::string arguments;
    std::string says;
  };
  for (const Case& c : {
           Case{"start cell", "--start-cell ZZZ0", "\"ZZZ0\" is not a valid for a start Cell"},
           Case{"schedule", "--count 501 --interval 00:00:01", "500"},
           Case{"instrument", "--instrument TCPIP0::127.0.0.1::1::SOCKET", "could not connect"},
           Case{"annotation", "--annotations Colour", "unknown annotation"},
           Case{"interval", "--count 2 --interval 10s", "HH:MM:SS"},
       }) {
    SCOPED_TRACE(c.name);
    const Outcome run = zel("get-data --out refused.xlsx " + c.arguments);
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_TRUE(run.says(c.says)) << run.output;
    EXPECT_FALSE(run.says("Measurement ")) << run.output;
    EXPECT_FALSE(fs::exists(folder / "refused.xlsx"));
  }
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
  EXPECT_TRUE(run.says("Simulated analyzer at")) << run.output;
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
    EXPECT_FALSE(run.says("Measurement") || run.says("Simulated analyzer")) << run.output;
    EXPECT_FALSE(fs::exists(folder / "refused.xlsx"));
    EXPECT_EQ(fs::last_write_time(folder / c.file), before);
  }
}

}  // namespace
