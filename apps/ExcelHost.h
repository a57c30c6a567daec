#pragma once
// The host of the control: the Excel stand-in with a new workbook, the add-in's command bar and
// the control placed in the workbook, connected to the instrument through the Connect dialog.
// Each Get Data is the toolbar command the add-in sends, with the dialogs answered from a
// GetDataRequest; the host keeps the clock of a repeated run and calls StartTransfer when each
// measurement is due.
#include <atomic>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "AnswerDesktop.h"
#include "GetDataRequest.h"
#include "automation/PropertyBag.h"
#include "automation/Registry.h"
#include "automation/Variant.h"
#include "forms/Desktop.h"
#include "office/ControlSite.h"

namespace office::excel {
class MemoryApplication;
}
namespace zel {
class ZELControl;
}

namespace zelhost {

inline constexpr const char* kToolbarName = "ORV/ZEL Spectrum Analyzer";

struct SheetSummary {
  std::string name;
  int rows = 0;  // the last row holding anything; 0 for a sheet without cells
};

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
  Outcome getData(const GetDataRequest& request);
  // Measurements written so far (worksheets the transfers added).
  int measured() const;
  // Saves the workbook with the control's state inside.
  void save(const std::filesystem::path& path) const;

  zel::ZELControl& control() const { return *control_; }
  AnswerDesktop& desk() { return desk_; }
  std::vector<SheetSummary> summary() const;

 private:
  void answerGetData(forms::Form& form, forms::User& user, const GetDataRequest& request);
  void answerSchedule(forms::Form& form, forms::User& user, const GetDataRequest& request);
  Outcome runSchedule(bool more, automation::Variant start);
  int worksheets() const;

  std::ostream& out_;
  automation::Registry registry_;
  automation::ScopedRegistry registryScope_{registry_};
  AnswerDesktop desk_;
  forms::ScopedDesktop desktopScope_{desk_};
  std::shared_ptr<office::excel::MemoryApplication> excel_;
  std::shared_ptr<zel::ZELControl> control_;
  std::shared_ptr<office::ControlSite> site_;
  int initialSheets_ = 0;
  // Filled while the dialogs are answered.
  bool refused_ = false;
  int scheduledSamples_ = 0;
};

}  // namespace zelhost
