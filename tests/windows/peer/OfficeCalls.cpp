// office_calls: the Linux build's half of the comparison the Windows test run makes. It plays
// GetData.vbs's host with the same answers: the in-memory Excel with the add-in's command bar,
// the control placed in its workbook and given the Excel as its host application, Connect and
// a Get Data answered from an answers file, each measurement when it is due, Stop. The system
// sees the Excel through the same late-bound views as in the Windows build.
//   office_calls ADDRESS ANSWERS
// prints on stdout the calls the control made into Excel from Get Data to Stop (CallLine.h),
// a line "--", then every non-empty cell of A1:H1100 of each sheet (TAB-separated: sheet,
// cell, the value as VB's CStr gives it). Messages go to stderr; exit status 1 when the run
// failed, 2 for a usage error.
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "RecordedObject.h"
#include "TestDesktop.h"
#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/SafeArray.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "control/Registration.h"
#include "control/ZELControl.h"
#include "forms/DispatchDesktop.h"
#include "office/CommandBars.h"
#include "office/com/OfficeViews.h"
#include "office/excel/A1Reference.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbook.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace {

using automation::Variant;

constexpr const char* kBar = "ORV/ZEL Spectrum Analyzer";
constexpr const char* kButtons[] = {"About",    "Connect",   "Connected",        "Capture/Restore Settings",
                                    "Get Data", "Stop Repeated Measurement", "Get Screen Image", "Help"};
constexpr const char* kDumped = "A1:H1100";

// Each line "FORM | action | action ...", "$ADDRESS" standing for the instrument's address.
void queueAnswers(zeltest::TestDesktop& desk, std::istream& in, const std::string& address) {
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (auto at = line.find("$ADDRESS"); at != std::string::npos; at = line.find("$ADDRESS"))
      line.replace(at, 8, address);
    std::vector<Variant> actions;
    std::string form;
    for (size_t from = 0; from <= line.size();) {
      size_t bar = line.find(" | ", from);
      if (bar == std::string::npos) bar = line.size();
      const std::string part = line.substr(from, bar - from);
      if (form.empty()) form = part;
      else actions.push_back(Variant(part));
      from = bar + 3;
    }
    desk.OnForm(form, Variant(automation::SafeArray::ofVariants(std::move(actions))));
  }
}

void dumpCells(office::excel::Workbook& book) {
  const auto sheets = book.Sheets();
  for (int32_t i = 1; i <= sheets->Count(); ++i) {
    const auto sheet = office::excel::asWorksheet(sheets->Item(Variant(i)));
    const Variant values = sheet->Range(Variant(kDumped), Variant())->Value();
    const automation::SafeArray& cells = values.asArray();
    for (int32_t r = cells.LBound(1); r <= cells.UBound(1); ++r)
      for (int32_t c = cells.LBound(2); c <= cells.UBound(2); ++c) {
        const Variant value = cells.at({r, c});
        if (value.isEmpty()) continue;
        std::cout << sheet->Name() << '\t' << office::excel::columnLetters(c) << r << '\t' << automation::CStr(value)
                  << '\n';
      }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: office_calls ADDRESS ANSWERS\n";
    return 2;
  }
  std::ifstream answers(argv[2]);
  if (!answers) {
    std::cerr << "office_calls: cannot read " << argv[2] << "\n";
    return 2;
  }
  automation::Registry registry;
  automation::ScopedRegistry registryScope(registry);
  kro::registerInstrumentServer(registry);
  kro::registerUtilities(registry);
  zel::DllRegisterServer();
  office::com::registerExcelViews(registry);

  const auto player = zeltest::TestDesktop::instance();
  auto& desk = dynamic_cast<zeltest::TestDesktop&>(*player);
  queueAnswers(desk, answers, argv[1]);
  forms::DispatchDesktop desktop(player);
  forms::ScopedDesktop desktopScope(desktop);

  const auto excel = office::excel::createApplication();
  excel->Workbooks()->Add(Variant());
  const auto bar = excel->CommandBars()->Add(Variant(kBar), Variant(int32_t{1}), Variant(), Variant());
  for (const char* caption : kButtons)
    bar->Controls()->Add(Variant(), Variant(), Variant(), Variant(), Variant())->setCaption(caption);

  const auto record = std::make_shared<zeltest::CallRecord>();
  int status = 0;
  try {
    auto control = Variant(automation::CreateObject(zel::ZELControl::kProgId)).objectAs<zel::ZELControl>();
    const auto site = excel->activeWorkbook()->placeControl(control);
    control->setConnectedApplication(std::make_shared<zeltest::RecordedObject>(excel, record));
    control->DoConnect();
    record->clear();
    bool more = false;
    Variant start;
    control->DoDataTransfer(more, start);
    while (more) {
      // The host's wait until the measurement is due.
      const double left = (automation::CDate(start).serial() - automation::clock().now().serial()) * 86400000.0;
      if (left > 0) automation::clock().sleep(std::chrono::milliseconds(static_cast<int64_t>(left) + 1));
      control->StartTransfer(more, start);
    }
    Variant stopped;
    control->StopTransfer(stopped, true);
    for (const std::string& line : *record) std::cout << line << '\n';
    std::cout << "--\n";
    dumpCells(*excel->ActiveWorkbook());
    excel->activeWorkbook()->Close(Variant(false));
  } catch (const std::exception& e) {
    std::cerr << "office_calls: " << e.what() << "\n";
    status = 1;
  }
  std::cerr << desk.Transcript();
  if (!desk.Problems().empty()) {
    std::cerr << "office_calls: not as answered:\n" << desk.Problems();
    status = 1;
  }
  return status;
}
