#include "connections/WordDataConnection.h"

#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/Strings.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/VCUtilities.h"
#include "connections/ScreenImageTransfer.h"
#include "office/word/AddIns.h"
#include "office/word/Documents.h"
#include "office/word/Shapes.h"
#include "office/word/System.h"
#include "win32/Win32.h"

namespace zel {

using automation::Variant;
namespace word = office::word;

const automation::TypeInfo& WordDataConnection::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<WordDataConnection>("WordDataConnection")
                                               .interface(kIid, "_WordDataConnection")
                                               .include(dataConnectionTypeInfo())
                                               .build();
  return info;
}

bool WordDataConnection::Init(automation::ObjectPtr& app, InstrumentServerPtr& server, automation::ObjectPtr& ctl,
                              int32_t& m_hdc) {
  // Every call binds afresh.
  try {
    if (!app) {
      auto utilities = automation::CreateObject(kro::VCUtilities::kProgId);
      auto document = automation::callMethod(utilities, "ContainingDocument", {Variant(ctl)}).objectAs<word::Document>();
      if (!document) throw automation::Error::vb(automation::vbErrObjectNotSet);
      document_ = document;
      application_ = document->Application();
    } else {
      application_ = Variant(app).objectAs<word::Application>();
      if (!application_) throw automation::Error::vb(automation::vbErrObjectNotSet);
      document_ = application_->ActiveDocument();
    }
    server_ = server;
    hdc_ = m_hdc;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

Variant WordDataConnection::app() { return Variant(std::static_pointer_cast<automation::Object>(application_)); }

bool WordDataConnection::DoDataTransfer(bool&, automation::Date&, int32_t&, int32_t&) { raiseNotSupported(); }
void WordDataConnection::TransferDataToApp() { raiseNotSupported(); }
void WordDataConnection::EnableRepeatMeaureButtons() { raiseNotSupported(); }
void WordDataConnection::EnableSingleMeaureButtons() { raiseNotSupported(); }

void WordDataConnection::SetInitialToolbarState() { toolbar().setInitialState(); }
void WordDataConnection::EnableToolbarButtons() { toolbar().enableForConnectedInstrument(); }

void WordDataConnection::UpdateConnectedIconAndTooltip(std::string& hostName) {
  if (!server_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  if (!server_->Device()->IoSession()) {
    toolbar().setInitialState();
    toolbar().markTemplateSaved();
    return;
  }
  toolbar().showConnected(server_.get(), hostName);
  EnableToolbarButtons();
  toolbar().markTemplateSaved();
}

word::Application& WordDataConnection::host() const {
  // A connection restored with its document but never bound has no Word to talk to.
  if (!application_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *application_;
}

void WordDataConnection::UpdateStatus(const std::string& msg) {
  if (host().DisplayStatusBar()) host().setStatusBar(msg);
}

void WordDataConnection::SetBusyCursor(bool val) {
  host().System()->setCursor(val ? word::wdCursorWait : word::wdCursorNormal);
}

void WordDataConnection::DoPictureTransfer() {
  if (!server_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  transferScreenImage(*server_, PictureHost{"Place In Active Document", [this](bool busy) { SetBusyCursor(busy); },
                                            [this](const std::string& metafile) {
                                              host().ActiveDocument()->Shapes()->AddPicture(metafile);
                                            }});
}

void WordDataConnection::DoHelp(int32_t topHwnd, int16_t contextID) {
  const auto addIns = host().AddIns();
  const int32_t count = addIns->Count();
  for (int32_t i = 1; i <= count; ++i) {
    const auto addIn = addIns->Item(Variant(i));
    if (automation::UCase(addIn->Name()) != kTemplateName) continue;
    const std::string helpFile = addIn->Path() + kHelpFile;
    // The data is the context sign-extended to 32 bits; the result is not looked at.
    if (contextID == -1)
      win32::WinHelpA(topHwnd, helpFile.c_str(), win32::HELP_CONTENTS, 0);
    else
      win32::WinHelpA(topHwnd, helpFile.c_str(), win32::HELP_CONTEXT,
                      static_cast<uint32_t>(static_cast<int32_t>(contextID)));
  }
}

}  // namespace zel
