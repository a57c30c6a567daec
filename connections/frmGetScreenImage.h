#pragma once
// The "Get Screen Image" dialog: the user chooses whether the analyzer's screen goes into the
// host (the active sheet or document) or into an image file named in a Save dialog. One new
// dialog serves one command; OK and Cancel only hide it, the opener reads the choice and then
// unloads it. Closing it through the window frame counts as Cancel.
#include <string>

#include "forms/CommandButton.h"
#include "forms/CommonDialog.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/OptionButton.h"

namespace zel {

class frmGetScreenImage : public forms::Form {
 public:
  static constexpr const char* kCaption = "Get Screen Image";
  static constexpr const char* kFilter =
      "GIF (*.gif)|*.gif|Windows Bitmap (*.bmp)|*.bmp|Windows Metafile (*.wmf)|*.wmf|"
      "JPEG File Interchange Format (*.jpg)|*.jpg|Tagged Image File Format (*.tif)|*.tif|"
      "Windows Enhanced Metafile (*.emf)|*.emf";

  frmGetScreenImage();

  // What the user chose, read by the opener once the dialog is hidden.
  bool saveToDocument = false;
  bool okSelected = false;
  std::string selectedFilename;

  // The placement option names where the picture goes in this host.
  void documentSaveDestination(const std::string& where);

  forms::Frame& Frame1 = add<forms::Frame>("Frame1");
  forms::OptionButton& picturePlacement = add<forms::OptionButton>("picturePlacement", &Frame1);
  forms::OptionButton& saveToFile = add<forms::OptionButton>("saveToFile", &Frame1);
  forms::CommandButton& okButton = add<forms::CommandButton>("okButton");
  forms::CommandButton& cancelButton = add<forms::CommandButton>("cancelButton");
  forms::CommonDialog& saveAs = add<forms::CommonDialog>("saveAs");

 private:
  void formLoad();
  void okButton_Click();
  void cancelButton_Click();
};

}  // namespace zel
