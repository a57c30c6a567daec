#pragma once
// The "Component Version Information" dialog: for each companion component of the toolbar its
// file, version, build date and full path, as the component version service reports them, and
// the whole list copied to the clipboard as tab-separated text for a support request.
//
// The library has one instance (frmVersionInfo()): the About command fills it, the About dialog
// shows it, and OK only hides it, so the rows stay until the next clearInfo. Closing it through
// the window frame unloads it, which empties the list.
#include <memory>
#include <string>

#include "companions/ComponentVersionInfo.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/ListView.h"

namespace zel {

class FrmVersionInfo : public forms::Form {
 public:
  // Full Path of a component that cannot be looked up.
  static constexpr const char* kNotRegistered = "This PROGID was not registered on this system";

  FrmVersionInfo();

  void clearInfo();
  // Adds the component's row at the top of the list; a component the service cannot answer
  // for gets a row of its ProgID and kNotRegistered instead. Raises nothing.
  void loadInfo(const std::string& progid);
  // The long form of a path, each component spelled as the file system keeps it; "" when a
  // component cannot be found.
  std::string GetLongFilename(const std::string& sShortName);
  // The 8.3 form of a path.
  std::string GetShortFilename(const std::string& sLongFileName);

  forms::Label& lblCompVersionTitle = add<forms::Label>("lblCompVersionTitle");
  forms::ListView& lstViewInfo = add<forms::ListView>("lstViewInfo");
  forms::CommandButton& cmdCopyToClipboard = add<forms::CommandButton>("cmdCopyToClipboard");
  forms::CommandButton& cmdOK = add<forms::CommandButton>("cmdOK");

 private:
  // The build date among the file's version strings, "??" when it has none.
  std::string buildDate() const;
  void copyToClipboard();
  void Form_Resize();

  std::shared_ptr<kro::IComponentVersionInfo> versionInfo_;
};

// The library's instance of the dialog, made on first use.
FrmVersionInfo& frmVersionInfo();
// Lets the instance go (VB's Set FrmVersionInfo = Nothing); the next use makes a fresh one.
void releaseFrmVersionInfo();

}  // namespace zel
