#include "GetDataScenario.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <memory>
#include <string_view>

#include "CallLine.h"
#include "RecordedObject.h"
#include "TestDesktop.h"
#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/SafeArray.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "companions/CIOSettings.h"
#include "companions/KroDiscoveryCtl.h"
#include "companions/RS232Config.h"
#include "companions/ZELEZ.h"
#include "companions/com/CompanionViews.h"
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

namespace zeltest {

namespace {

using automation::Variant;

constexpr const char* kBar = "ORV/ZEL Spectrum Analyzer";
constexpr const char* kButtons[] = {"About",    "Connect",   "Connected",        "Capture/Restore Settings",
                                    "Get Data", "Stop Repeated Measurement", "Get Screen Image", "Help"};
constexpr const char* kDumped = "A1:H1100";
// The companions that come from another module when they are elsewhere.
constexpr std::string_view kElsewhere[] = {kro::ZELEZ::kProgId, kro::KroDiscoveryCtl::kProgId, kro::CIOSettings::kProgId,
                                           kro::RS232Config::kProgId};

void queueAnswers(TestDesktop& desk, std::istream& in, const std::string& address) {
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    for (auto at = line.find("$ADDRESS"); at != std::string::npos; at = line.find("$ADDRESS"))
      line.replace(at, 8, address);
    std::string form;
    std::vector<Variant> actions;
    for (size_t from = 0; from <= line.size();) {
      const size_t bar = std::min(line.find(" | ", from), line.size());
      const std::string part = line.substr(from, bar - from);
      if (form.empty()) form = part;
      else actions.push_back(Variant(part));
      from = bar + 3;
    }
    desk.OnForm(form, Variant(automation::SafeArray::ofVariants(std::move(actions))));
  }
}

std::vector<std::string> cellsOf(office::excel::Workbook& book) {
  std::vector<std::string> lines;
  const auto sheets = book.Sheets();
  for (int32_t i = 1; i <= sheets->Count(); ++i) {
    const auto sheet = office::excel::asWorksheet(sheets->Item(Variant(i)));
    const Variant values = sheet->Range(Variant(kDumped), Variant())->Value();
    const automation::SafeArray& cells = values.asArray();
    for (int32_t c = cells.LBound(2); c <= cells.UBound(2); ++c)
      lines.push_back(sheet->Name() + '\t' + office::excel::columnLetters(c) + '\t' +
                      shownValue(sheet->Columns(Variant(c))->ColumnWidth()));
    for (int32_t r = cells.LBound(1); r <= cells.UBound(1); ++r)
      for (int32_t c = cells.LBound(2); c <= cells.UBound(2); ++c) {
        const Variant value = cells.at({r, c});
        if (value.isEmpty()) continue;
        const auto cell = sheet->Cells(Variant(r), Variant(c));
        lines.push_back(sheet->Name() + '\t' + office::excel::columnLetters(c) + std::to_string(r) + '\t' +
                        shownValue(value) + '\t' + automation::CStr(cell->NumberFormat()) + '\t' +
                        shownValue(cell->HorizontalAlignment()));
      }
  }
  return lines;
}

// The host's wait until the next measurement is due.
void waitUntil(const Variant& due) {
  const double left = (automation::CDate(due).serial() - automation::clock().now().serial()) * 86400000.0;
  if (left > 0) automation::clock().sleep(std::chrono::milliseconds(static_cast<int64_t>(left) + 1));
}

}  // namespace

ScenarioResult playGetData(const std::string& address, std::istream& answers, bool throughViews,
                           bool companionsElsewhere) {
  automation::Registry registry;
  automation::ScopedRegistry registryScope(registry);
  kro::registerInstrumentServer(registry);
  kro::registerUtilities(registry);
  zel::DllRegisterServer();
  office::com::registerExcelViews(registry);
  const auto companionCalls = std::make_shared<CallRecord>();
  if (companionsElsewhere) {
    // The library holds no class of these ProgIDs, so CreateObject goes outside the process's
    // registry, as it goes to COM for the companions' module; there they are made by its own
    // registry.
    const auto companions = std::make_shared<automation::Registry>();
    kro::registerInstrumentServer(*companions);
    kro::registerUtilities(*companions);
    for (std::string_view progId : kElsewhere) registry.unregisterClass(progId);
    registry.setOutsideFactory([companions, companionCalls](std::string_view progId) -> automation::ObjectPtr {
      if (std::find(std::begin(kElsewhere), std::end(kElsewhere), progId) == std::end(kElsewhere))
        throw automation::Error::vb(automation::vbErrCantCreateObject);
      return std::make_shared<RecordedObject>(companions->createObject(progId), companionCalls);
    });
    kro::com::registerCompanionViews(registry);
  }

  const auto player = std::make_shared<TestDesktop>();
  queueAnswers(*player, answers, address);
  forms::DispatchDesktop desktop(player);
  forms::ScopedDesktop desktopScope(desktop);

  const auto excel = office::excel::createApplication();
  excel->Workbooks()->Add(Variant());
  const auto bar = excel->CommandBars()->Add(Variant(kBar), Variant(int32_t{1}), Variant(), Variant());
  for (const char* caption : kButtons)
    bar->Controls()->Add(Variant(), Variant(), Variant(), Variant(), Variant())->setCaption(caption);

  ScenarioResult result;
  const auto record = std::make_shared<CallRecord>();
  {
    // Placed in the workbook, given its Excel, then connected, as GetData.vbs does.
    auto control = Variant(automation::CreateObject(zel::ZELControl::kProgId)).objectAs<zel::ZELControl>();
    excel->activeWorkbook()->placeControl(control);
    control->setConnectedApplication(throughViews ? automation::ObjectPtr(std::make_shared<RecordedObject>(excel, record))
                                                  : automation::ObjectPtr(excel));
    control->DoConnect();
    record->clear();
    bool more = false;
    Variant start;
    control->DoDataTransfer(more, start);
    while (more) {
      waitUntil(start);
      control->StartTransfer(more, start);
    }
    Variant stopped;
    control->StopTransfer(stopped, true);
    result.calls = *record;
    result.companionCalls = *companionCalls;
    result.cells = cellsOf(*excel->ActiveWorkbook());
  }
  // The workbook holds the control and the control its host: closing breaks the cycle.
  excel->activeWorkbook()->Close(Variant(false));
  result.transcript = player->Transcript();
  result.problems = player->Problems();
  return result;
}

}  // namespace zeltest
