#pragma once
// The Connect dialog: hosts the discovery control, through which the user picks the instrument
// link, with Help and Close. The opener hands it the IO settings, the instrument server, the
// connection and the owner window for help, shows it modally and reads the IO settings back
// once Close has hidden it.
#include <cstdint>
#include <memory>

#include "automation/Object.h"
#include "companions/ICIOSettings.h"
#include "companions/IKroDiscoveryCtl.h"
#include "connections/DataConnection.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/VBControlExtender.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class frmConnect1 : public forms::Form {
 public:
  static constexpr const char* kCaption = "Connect To ORV/ZEL-Q/R/VX Spectrum Analyzer";
  static constexpr const char* kDiscoveryProgId = "KroDiscovery.KroDiscoveryCtl";
  // The help topic of this dialog.
  static constexpr int16_t kHelpContext = 4;

  // Creates the discovery control by its ProgID; 429 when it is not registered.
  frmConnect1();
  ~frmConnect1() override;

  // Set by the opener before showing.
  InstrumentServerPtr server;
  std::shared_ptr<DataConnection> dataC;
  int32_t topHwnd = 0;

  // The discovery control's IO settings object. A put that the discovery control refuses
  // leaves it with what it had.
  std::shared_ptr<kro::ICIOSettings> IOsetting();
  void setIOsetting(const automation::ObjectPtr& setting);

  forms::VBControlExtender& IOSetting1 = add<forms::VBControlExtender>("IOSetting1");
  forms::CommandButton& helpBtn = add<forms::CommandButton>("helpBtn");
  forms::CommandButton& closeButton = add<forms::CommandButton>("closeButton");

  // The hosted discovery control; reaching it loads the dialog.
  std::shared_ptr<kro::IKroDiscoveryCtl> discovery() const;

 private:
  // The form's handler of the discovery control's events.
  class DiscoveryEvents;
  void closeButton_Click();
  void helpBtn_Click();
  void IOSetting1_Disconnect();

  automation::ObjectPtr discoveryControl_;
  uint32_t discoveryEvents_ = 0;
};

}  // namespace zel
