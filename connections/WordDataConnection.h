#pragma once
// The connection for a control that lives in a Word document. Word offers connecting, settings,
// the screen image and help; there is no trace transfer and no repeated measurement in Word, so
// the members for them raise. The connection keeps no transfer settings, saves nothing with the
// document and does not listen to Word's events.
#include <cstdint>
#include <memory>
#include <string>

#include "connections/DataConnection.h"
#include "connections/WordToolbar.h"
#include "office/word/Application.h"

namespace zel {

class WordDataConnection : public DataConnection {
 public:
  static constexpr const char* kProgId = "ZELControlProj.WordDataConnection";
  static constexpr const char* kClsid = "{F914874C-FFE3-45C1-95BA-2EED7167EA22}";
  static constexpr const char* kIid = "{28911E10-A7C4-4D46-927C-94B4239FD8F0}";
  static constexpr const char* kTemplateName = "ZEL.DOT";
  static constexpr const char* kHelpFile = "\\ZELwtool.HLP";

  int32_t SavedDataCValue() override { return WordSaved; }
  bool DoDataTransfer(bool& immed, automation::Date& startDate, int32_t& num_samples,
                      int32_t& intervalInSeconds) override;
  bool Init(automation::ObjectPtr& app, InstrumentServerPtr& server, automation::ObjectPtr& ctl,
            int32_t& m_hdc) override;
  automation::Variant app() override;
  void TransferDataToApp() override;
  void EnableRepeatMeaureButtons() override;
  void EnableSingleMeaureButtons() override;
  void UpdateStatus(const std::string& msg) override;
  void SetBusyCursor(bool val) override;
  // The screen image, placed in the active document (which need not be the control's) with
  // nothing but its file name: Word's defaults decide embedding, position and size.
  void DoPictureTransfer() override;
  void DoHelp(int32_t topHwnd, int16_t contextID) override;
  void SetInRepeatDataTransfer(bool) override {}

  // The command bar. Each of these raises the host's error at its first failing step, with
  // the earlier changes kept, and marks the template saved after changing the bar.
  void SetInitialToolbarState() override;
  void EnableToolbarButtons() override;
  // Shows the connected state only when the instrument has a link: without one the bar goes
  // back to its initial state whatever the control asked for.
  void UpdateConnectedIconAndTooltip(std::string& hostName) override;

  const automation::TypeInfo& typeInfo() const override;

  const std::shared_ptr<office::word::Application>& application() const { return application_; }
  const InstrumentServerPtr& server() const { return server_; }

 private:
  std::shared_ptr<office::word::Application> application_;
  InstrumentServerPtr server_;
  std::shared_ptr<office::word::Document> document_;
  int32_t hdc_ = 0;

  WordToolbar toolbar() const { return WordToolbar(application_); }
  // The bound Word; 91 "Object variable not set" while there is none.
  office::word::Application& host() const;
};

}  // namespace zel
