#pragma once
// The Windows test run's Get Data scenario (GetData.vbs), played in the Linux build: the
// in-memory Excel with the add-in's command bar, Connect, the Excel given to the control as its
// host application, a Get Data answered from an answers file by the scripted desktop the Windows
// run uses, each measurement when it is due, Stop.
#include <istream>
#include <string>
#include <vector>

namespace zeltest {

struct ScenarioResult {
  // The calls the control made into Excel from Get Data to Stop (CallLine.h); empty when the
  // Excel was not reached through the late-bound views.
  std::vector<std::string> calls;
  // For each sheet, the width of each column A to H (sheet, column, width), then each non-empty
  // cell of A1:H1100 (sheet, cell, value, number format, horizontal alignment), TAB-separated,
  // each value as CallLine.h's shownValue writes it.
  std::vector<std::string> cells;
  // The calls the control made into the companions of another module (CallLine.h): the
  // instrument server, the discovery control, the IO settings and the RS-232 configuration; empty
  // when it created its own.
  std::vector<std::string> companionCalls;
  // Each form and message shown, and what did not go as answered (TestDesktop).
  std::string transcript;
  std::string problems;
};

// Answers: a line for each dialog, "NAME | action | action ...", "$ADDRESS" standing for
// `address`; lines starting with # are comments. `throughViews`: the control sees the Excel as
// another component's object, through the views, and its calls are recorded; otherwise it
// holds the in-memory Excel itself. `companionsElsewhere`: the companions the control creates are
// another module's objects, as those created through COM are, and their calls are recorded.
ScenarioResult playGetData(const std::string& address, std::istream& answers, bool throughViews,
                           bool companionsElsewhere = false);

}  // namespace zeltest
