#include "ExcelHost.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <ostream>

#include "ConnectDialog.h"
#include "RunJournal.h"
#include "SheetCodec.h"
#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "control/Registration.h"
#include "control/ZELControl.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/frmDataTransfer.h"
#include "dialogs/repMeasControl.h"
#include "office/MemoryCommandBars.h"
#include "office/excel/AddIns.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"
#include "transfer/InstrumentServer.h"
#include "win32/Win32.h"

namespace zelhost {

std::atomic<bool> ExcelHost::stopRequested{false};

namespace {

constexpr const char* kAddIn = R"(C:\Program Files\ZEL\ZEL.XLA)";
// The add-in's buttons, in the order the control addresses them.
constexpr const char* kButtons[] = {"About",      "Connect",   "Connected",        "Capture/Restore Settings",
                                    "Get Data",   "Stop Repeated Measurement", "Get Screen Image", "Help"};

// "HH:MM:SS" into the three boxes, each part as given.
void typeTime(forms::User& user, forms::TextBox& hours, forms::TextBox& minutes, forms::TextBox& seconds,
              const std::string& hms) {
  const auto first = hms.find(':');
  const auto second = hms.find(':', first + 1);
  user.type(hours, hms.substr(0, first));
  user.type(minutes, hms.substr(first + 1, second - first - 1));
  user.type(seconds, hms.substr(second + 1));
}

// Waits on the host's clock until `due`; false when a stop was asked for first.
bool waitUntil(automation::Date due) {
  using namespace std::chrono;
  for (;;) {
    if (ExcelHost::stopRequested) return false;
    const double left = (due.serial() - automation::clock().now().serial()) * 86400000.0;
    if (left <= 0) return true;
    // On the system's clock short naps, so that a stop is heard within a fraction of a second;
    // any other clock jumps to the due time at once.
    const auto whole = milliseconds(static_cast<long long>(left) + 1);
    const bool system = dynamic_cast<automation::SystemClock*>(&automation::clock()) != nullptr;
    automation::clock().sleep(system ? std::min(whole, milliseconds(200)) : whole);
  }
}

}  // namespace

ExcelHost::ExcelHost(std::ostream& out, automation::PropertyBag* saved) : out_(out), desk_(out) {
  kro::registerInstrumentServer(registry_);
  kro::registerUtilities(registry_);
  zel::DllRegisterServer();

  excel_ = office::excel::createApplication();
  // Excel is handed Windows names (the screen image's temporary metafile); they name files of
  // this computer through the machine's drive mapping.
  excel_->setPathResolver([](const std::string& name) {
    return win32::toPosixPath(name).value_or(std::filesystem::path(name)).string();
  });
  excel_->Workbooks()->Add();
  excel_->AddIns()->Add(kAddIn);
  auto& bars = *excel_->commandBars();
  bars.Add(automation::Variant(kToolbarName), automation::Variant(office::msoBarTop));
  auto bar = bars.bar(kToolbarName);
  for (const char* caption : kButtons) bar->Controls()->Add()->setCaption(caption);

  control_ = automation::Variant(automation::CreateObject(zel::ZELControl::kProgId)).objectAs<zel::ZELControl>();
  site_ = excel_->activeWorkbook()->placeControl(control_);
  if (saved) control_->ReadProperties(*saved);
  control_->setConnectedApplication(excel_);
  initialSheets_ = worksheets();
  for (const auto& sheet : excel_->activeWorkbook()->sheets()) kept_.insert(sheet.get());
}

ExcelHost::~ExcelHost() {
  // The workbook holds the control and the control holds its host: closing breaks the cycle.
  while (!excel_->workbooks().empty()) excel_->workbooks().front()->Close();
}

bool ExcelHost::connect(const std::string& address) { return connectThroughDialog(desk_, *control_, address, out_); }

bool ExcelHost::connected() const { return instrumentAttached(*control_); }

zel::InstrumentServerPtr ExcelHost::server() const { return control_->getServer(); }

void ExcelHost::answerGetData(forms::Form& form, forms::User& user, const GetDataRequest& request) {
  auto& f = dynamic_cast<zel::frmDataTransfer&>(form);
  if (request.startCell) user.type(f.startCell, *request.startCell);
  if (request.annotations) user.select(f.annotationsList, annotationIndices(*request.annotations));
  if (request.chart) user.tick(f.makeExcelGraphCheckBox, *request.chart);
  if (request.scientific) user.tick(f.incEngUnits, *request.scientific);
  user.tick(f.EnableGetRepeatedMeasurements, request.repeated());
  if (request.repeated()) {
    user.click(f.repMeasBtn);
    if (refused_) {
      user.click(f.cancelButton);
      return;
    }
  }
  const int before = desk_.messageCount();
  user.click(f.getDataBtn);
  if (f.isShown()) {
    refused_ = desk_.messageCount() > before;
    user.click(f.cancelButton);
  }
}

void ExcelHost::answerSchedule(forms::Form& form, forms::User& user, const GetDataRequest& request) {
  auto& f = dynamic_cast<zel::FrmRepeatedMeasurements&>(form);
  auto& s = dynamic_cast<zel::repMeasControl&>(*f.schedule());
  if (request.startAt) {
    const automation::Date at = parseStartAt(*request.startAt);
    user.choose(s.atSetTime);
    user.pick(s.startDate, at);
    user.pick(s.startTime, at);
  } else {
    user.choose(s.immediateOption);
  }
  if (request.interval) typeTime(user, s.intervalHours, s.intervalMinutes, s.intervalSeconds, *request.interval);
  if (request.duration) {
    user.choose(s.durationOptionButton);
    typeTime(user, s.durationHours, s.durationMinutes, s.durationSeconds, *request.duration);
  } else if (request.count) {
    user.choose(s.numOfSamplesOptionBtn);
    user.type(s.numOfSamplesValue, std::to_string(*request.count));
  }
  user.click(f.okButton);
  if (f.isShown()) {
    refused_ = true;
    user.click(f.cancelButton);
  } else if (f.m_okSelected) {
    scheduledSamples_ = f.m_numSamples;
  }
}

Outcome ExcelHost::getData(const GetDataRequest& request) {
  refused_ = false;
  scheduledSamples_ = 0;
  const int criticalBefore = desk_.criticalCount();
  const int measuredBefore = measured();
  desk_.setFormHandler([&](forms::Form& form, forms::User& user) {
    if (dynamic_cast<zel::frmDataTransfer*>(&form))
      answerGetData(form, user, request);
    else if (dynamic_cast<zel::FrmRepeatedMeasurements*>(&form))
      answerSchedule(form, user, request);
  });
  bool more = false;
  automation::Variant start;
  control_->DoDataTransfer(more, start);
  desk_.setFormHandler({});

  if (refused_) return Outcome::Refused;
  if (desk_.criticalCount() > criticalBefore) return Outcome::Failed;
  // Even a single measurement is taken by the host's call when it is due: now.
  if (!more) return measured() > measuredBefore ? Outcome::Done : Outcome::Cancelled;
  // A workbook recovered from the journal remembers what the saved one would: the options just
  // chosen, the connection, the captured states.
  if (journal_) {
    const std::vector<uint8_t> state = controlState().toBytes();
    journal_->appendControlState(std::string(state.begin(), state.end()));
  }
  return runSchedule(more, start);
}

Outcome ExcelHost::runSchedule(bool more, automation::Variant start) {
  const int criticalBefore = desk_.criticalCount();
  const int samples = requested();
  for (int i = 1; more; ++i) {
    const automation::Date due = automation::CDate(start);
    if (i == 1 && due > automation::clock().now())
      out_ << "First measurement at " << due.toString() << std::endl;
    if (!waitUntil(due)) {
      automation::Variant stopped;
      control_->StopTransfer(stopped, true);
      out_ << "Stopped after " << i - 1 << " of " << samples << " measurements" << std::endl;
      return Outcome::Stopped;
    }
    // The measurement before is on the disk before this one starts.
    if (journal_) {
      journal_->waitDurable();
      releaseJournalledSheets();
    }
    out_ << fmt::format("Measurement {} of {} at {}", i, samples, automation::clock().now().toString()) << std::endl;
    control_->StartTransfer(more, start);
    keepFinishedSheets();
    if (more) out_ << "  next at " << automation::CDate(start).toString() << std::endl;
  }
  return desk_.criticalCount() > criticalBefore ? Outcome::Failed : Outcome::Done;
}

int ExcelHost::worksheets() const {
  int count = 0;
  for (const auto& sheet : excel_->activeWorkbook()->sheets())
    if (std::dynamic_pointer_cast<office::excel::MemoryWorksheet>(sheet)) ++count;
  return count;
}

int ExcelHost::measured() const { return worksheets() - initialSheets_; }

void ExcelHost::save(const std::filesystem::path& path) const {
  office::excel::WorkbookSaver(*excel_->activeWorkbook()).save(path, &controlState());
}

const automation::PropertyBag& ExcelHost::controlState() const {
  automation::PropertyBag& bag = site_->propertyBag();
  bag.clear();
  control_->WriteProperties(bag);
  return bag;
}

const office::excel::MemoryWorkbook& ExcelHost::workbook() const { return *excel_->activeWorkbook(); }

void ExcelHost::keepFinishedSheets() {
  if (!journal_) return;
  const auto& book = *excel_->activeWorkbook();
  for (const auto& sheet : book.sheets()) {
    const auto* worksheet = dynamic_cast<const office::excel::MemoryWorksheet*>(sheet.get());
    if (!worksheet || kept_.contains(worksheet)) continue;
    journalled_.emplace_back(std::dynamic_pointer_cast<office::excel::MemoryWorksheet>(sheet),
                             journal_->appendInBackground(encodeSheet(book, *worksheet)));
    kept_.insert(worksheet);
  }
}

void ExcelHost::releaseJournalledSheets() {
  // Their records are on the disk: the cells come back from there when the workbook is saved,
  // one sheet at a time, so a run of any length keeps about one measurement in memory.
  office::excel::StyleTable* styles = &excel_->activeWorkbook()->styles();  // outlives its sheets
  for (const auto& [sheet, at] : journalled_)
    if (const auto worksheet = sheet.lock())
      worksheet->releaseCells([journal = journal_, at = at, styles] { return decodeCells(journal->readRecord(at), *styles); });
  journalled_.clear();
}

}  // namespace zelhost
