#pragma once
// The host of the control: the Excel stand-in with a new workbook, the add-in's command bar and
// the control placed in the workbook, connected to the instrument through the Connect dialog.
// Each Get Data is the toolbar command the add-in sends, with the dialogs answered from a
// GetDataRequest; the host keeps the clock of a repeated run and calls StartTransfer when each
// measurement is due. With a journal, each measurement's sheet is kept in it as soon as the
// measurement is finished, before the next one starts.
#include <atomic>
#include <algorithm>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AnswerDesktop.h"
#include "GetDataRequest.h"
#include "automation/PropertyBag.h"
#include "automation/Registry.h"
#include "automation/Variant.h"
#include "forms/Desktop.h"
#include "office/ControlSite.h"
#include "transfer/InstrumentServer.h"

namespace office::excel {
class MemoryApplication;
class MemorySheet;
class MemoryWorkbook;
class MemoryWorksheet;
}  // namespace office::excel
namespace zel {
class ZELControl;
}

namespace zelhost {

inline constexpr const char* kToolbarName = "ORV/ZEL Spectrum Analyzer";

class RunJournal;

class ExcelHost {
 public:
  // Set from a signal handler: the run in progress stops before its next measurement.
  static std::atomic<bool> stopRequested;

  // With `saved`, the control is restored from that property bag before the add-in hands it
  // Excel, as when Excel opens a workbook that carries the control's state.
  explicit ExcelHost(std::ostream& out, automation::PropertyBag* saved = nullptr);
  ~ExcelHost();
  ExcelHost(const ExcelHost&) = delete;
  ExcelHost& operator=(const ExcelHost&) = delete;

  // Connects through the Connect dialog; false (the reason printed) when no link was attached.
  bool connect(const std::string& address);
  // Whether the analyzer is attached, through the Connect dialog or a restored link.
  bool connected() const;
  // The control's instrument server, as the connection left it.
  zel::InstrumentServerPtr server() const;
  // Keeps each measurement finished from now on in `journal` (none: in memory only).
  void keepIn(RunJournal* journal) { journal_ = journal; }
  Outcome getData(const GetDataRequest& request);
  // Measurements written so far (worksheets the transfers added), and how many the last Get
  // Data asked for.
  int measured() const;
  int requested() const { return std::max(scheduledSamples_.load(), 1); }
  const office::excel::MemoryWorkbook& workbook() const;
  // Saves the workbook with the control's state inside.
  void save(const std::filesystem::path& path) const;

  // What the other commands act through: the desktop that answers the dialogs, the control and
  // Excel.
  AnswerDesktop& desktop() { return desk_; }
  zel::ZELControl& control() { return *control_; }
  office::excel::MemoryApplication& excel() { return *excel_; }

 private:
  void answerGetData(forms::Form& form, forms::User& user, const GetDataRequest& request);
  void answerSchedule(forms::Form& form, forms::User& user, const GetDataRequest& request);
  Outcome runSchedule(bool more, automation::Variant start);
  int worksheets() const;
  void keepFinishedSheets();
  void releaseJournalledSheets();
  // The control's property bag as the container saves it.
  const automation::PropertyBag& controlState() const;

  std::ostream& out_;
  automation::Registry registry_;
  automation::ScopedRegistry registryScope_{registry_};
  AnswerDesktop desk_;
  forms::ScopedDesktop desktopScope_{desk_};
  std::shared_ptr<office::excel::MemoryApplication> excel_;
  std::shared_ptr<zel::ZELControl> control_;
  std::shared_ptr<office::ControlSite> site_;
  int initialSheets_ = 0;
  RunJournal* journal_ = nullptr;
  std::set<const office::excel::MemorySheet*> kept_;  // the workbook's own sheets and those journalled
  // Sheets whose records are on their way to the disk, and where each starts in the journal.
  std::vector<std::pair<std::weak_ptr<office::excel::MemoryWorksheet>, uint64_t>> journalled_;
  // Filled while the dialogs are answered.
  bool refused_ = false;
  std::atomic<int> scheduledSamples_{0};  // read by the stop signals' thread too
};

}  // namespace zelhost
