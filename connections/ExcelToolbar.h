#pragma once
// The states of the Excel command bar: eight buttons, the Get Data and Stop Repeated
// Measurement buttons among them. Every state stops silently at its first failing step (no bar
// of that name, a missing button, a property the host refuses): what it set before stays set
// and nothing is reported, so a bar the user renamed or pruned never disturbs a command.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "connections/HostToolbar.h"
#include "office/excel/Application.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class ExcelToolbar {
 public:
  static constexpr int32_t kAbout = HostToolbar::kAbout;
  static constexpr int32_t kConnect = HostToolbar::kConnect;
  static constexpr int32_t kConnected = HostToolbar::kConnected;
  static constexpr int32_t kSettings = 4;
  static constexpr int32_t kGetData = 5;
  static constexpr int32_t kStopRepeated = 6;
  static constexpr int32_t kScreenImage = 7;
  static constexpr int32_t kHelp = 8;
  static constexpr int32_t kButtons = 8;

  explicit ExcelToolbar(std::shared_ptr<office::excel::Application> app) : app_(std::move(app)) {}

  // Not connected: About, Connect and Help enabled, the connected face hidden, the rest
  // disabled, every tooltip back to its own text.
  void setInitialState() noexcept;
  // A connected instrument enables settings, Get Data, the screen image and Help; About, the
  // connect buttons and Stop Repeated Measurement stay as they are.
  void enableForConnectedInstrument() noexcept;
  // While a repeated measurement runs only Stop Repeated Measurement can be pressed.
  void setRepeatState() noexcept;
  // Without a repeated measurement everything but Stop Repeated Measurement can be pressed,
  // both connect buttons included whichever of them shows.
  void setSingleState() noexcept;
  // The connected face in place of Connect, then its tooltip naming the instrument. The icons
  // are switched before the server is asked, so a failing query leaves the connected face
  // showing with its old tooltip; iconsSwitched runs in between.
  void showConnected(InstrumentServer* server, const std::string& hostName,
                     const std::function<void()>& iconsSwitched = {}) noexcept;

 private:
  // Runs the steps on the bar found afresh, ending silently at the first failure.
  void apply(const std::function<void(HostToolbar&)>& steps) noexcept;
  // Stop Repeated Measurement enabled exactly while repeating, every other button the opposite.
  void setMeasurementState(bool repeating) noexcept;

  std::shared_ptr<office::excel::Application> app_;
};

}  // namespace zel
