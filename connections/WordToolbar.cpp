#include "connections/WordToolbar.h"

#include "automation/Error.h"
#include "automation/Strings.h"
#include "office/word/AddIns.h"

namespace zel {

using automation::Variant;

HostToolbar WordToolbar::bar() {
  if (!app_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return HostToolbar(app_->CommandBars());
}

void WordToolbar::setInitialState() {
  HostToolbar bar = this->bar();
  bar.enable(kAbout, true);
  bar.tip(kAbout, HostToolbar::kAboutTip);
  bar.show(kConnect, true);
  bar.enable(kConnect, true);
  bar.tip(kConnect, HostToolbar::kConnectTip);
  bar.show(kConnected, false);
  bar.enable(kConnected, true);
  bar.enable(kSettings, false);
  bar.tip(kSettings, HostToolbar::kSettingsTip);
  bar.enable(kScreenImage, false);
  bar.tip(kScreenImage, HostToolbar::kScreenImageTip);
  bar.enable(kHelp, true);
  bar.tip(kHelp, HostToolbar::kHelpTip);
  markTemplateSaved();
}

void WordToolbar::enableForConnectedInstrument() {
  HostToolbar bar = this->bar();
  bar.enable(kSettings, true);
  bar.enable(kScreenImage, true);
  markTemplateSaved();
}

void WordToolbar::showConnected(InstrumentServer* server, const std::string& hostName) {
  HostToolbar bar = this->bar();
  bar.showConnectedIcon();
  bar.showConnectedTooltip(server, hostName);
}

void WordToolbar::markTemplateSaved() {
  if (!app_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  const auto templates = app_->Templates();
  const int32_t count = templates->Count();
  for (int32_t i = 1; i <= count; ++i) {
    const auto candidate = templates->Item(Variant(i));
    if (automation::UCase(candidate->Name()) == kTemplateName) candidate->setSaved(true);
  }
}

}  // namespace zel
