#include "connections/ExcelToolbar.h"

#include <exception>

#include "automation/Error.h"

namespace zel {

void ExcelToolbar::apply(const std::function<void(HostToolbar&)>& steps) noexcept {
  try {
    if (!app_) throw automation::Error::vb(automation::vbErrObjectNotSet);
    HostToolbar bar(app_->CommandBars());
    steps(bar);
  } catch (const std::exception&) {
    // The bar belongs to the user as much as to the add-in: whatever is missing or locked
    // simply ends the change here.
  }
}

void ExcelToolbar::setInitialState() noexcept {
  apply([](HostToolbar& bar) {
    bar.enable(kAbout, true);
    bar.tip(kAbout, HostToolbar::kAboutTip);
    bar.enable(kConnect, true);
    bar.show(kConnect, true);
    bar.tip(kConnect, HostToolbar::kConnectTip);
    bar.enable(kConnected, true);
    bar.show(kConnected, false);
    bar.enable(kSettings, false);
    bar.tip(kSettings, HostToolbar::kSettingsTip);
    bar.enable(kGetData, false);
    bar.tip(kGetData, HostToolbar::kGetDataTip);
    bar.enable(kStopRepeated, false);
    bar.tip(kStopRepeated, HostToolbar::kStopRepeatedTip);
    bar.enable(kScreenImage, false);
    bar.tip(kScreenImage, HostToolbar::kScreenImageTip);
    bar.enable(kHelp, true);
    bar.tip(kHelp, HostToolbar::kHelpTip);
  });
}

void ExcelToolbar::enableForConnectedInstrument() noexcept {
  apply([](HostToolbar& bar) {
    for (const int32_t button : {kSettings, kGetData, kScreenImage, kHelp}) bar.enable(button, true);
  });
}

void ExcelToolbar::setMeasurementState(bool repeating) noexcept {
  apply([repeating](HostToolbar& bar) {
    for (int32_t button = 1; button <= kButtons; ++button)
      bar.enable(button, (button == kStopRepeated) == repeating);
  });
}

void ExcelToolbar::setRepeatState() noexcept { setMeasurementState(true); }
void ExcelToolbar::setSingleState() noexcept { setMeasurementState(false); }

void ExcelToolbar::showConnected(InstrumentServer* server, const std::string& hostName,
                                 const std::function<void()>& iconsSwitched) noexcept {
  apply([&](HostToolbar& bar) {
    bar.showConnectedIcon();
    if (iconsSwitched) iconsSwitched();
    bar.showConnectedTooltip(server, hostName);
  });
}

}  // namespace zel
