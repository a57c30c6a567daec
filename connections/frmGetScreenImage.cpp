#include "connections/frmGetScreenImage.h"

#include "forms/Constants.h"

namespace zel {

frmGetScreenImage::frmGetScreenImage() : Form("frmGetScreenImage", kCaption, 3915, 3120) {
  auto design = designTime();

  Frame1.setCaption("Get Screen Image and ... ");
  Frame1.Move(0, 120, 3855, 1935);
  Frame1.setTabIndex(0);

  picturePlacement.setCaption("Place In Active Sheet");
  picturePlacement.Move(240, 480, 2535, 375);
  picturePlacement.setTabIndex(1);

  saveToFile.setCaption("Save to File");
  saveToFile.Move(240, 960, 2535, 375);
  saveToFile.setTabIndex(2);

  okButton.setCaption("OK");
  okButton.Move(1440, 2520, 1095, 495);
  okButton.setTabIndex(3);
  okButton.setDefault(true);
  okButton.onClick = [this] { okButton_Click(); };

  cancelButton.setCaption("Cancel");
  cancelButton.Move(2760, 2520, 1095, 495);
  cancelButton.setTabIndex(4);
  cancelButton.setCancel(true);
  cancelButton.onClick = [this] { cancelButton_Click(); };

  saveAs.setDialogTitle("Save Screen Image");

  onLoad = [this] { formLoad(); };
  // The frame's close box leaves no choice made: without this the opener would read a request
  // to save into a file with no name.
  onQueryUnload = [this](int&, int unloadMode) {
    if (unloadMode == forms::vbFormControlMenu) okSelected = false;
  };
}

void frmGetScreenImage::documentSaveDestination(const std::string& where) { picturePlacement.setCaption(where); }

void frmGetScreenImage::formLoad() {
  saveToDocument = false;
  okSelected = true;
  saveAs.setFilter(kFilter);
}

void frmGetScreenImage::okButton_Click() {
  okSelected = true;
  if (saveToFile.Value()) {
    saveAs.setFlags(saveAs.Flags() | forms::cdlOFNOverwritePrompt | forms::cdlOFNPathMustExist);
    saveAs.ShowSave();
    if (!saveAs.FileName().empty())
      selectedFilename = saveAs.FileName();
    else
      okSelected = false;
  } else {
    // Neither option chosen counts as placing the picture.
    saveToDocument = true;
  }
  Hide();
}

void frmGetScreenImage::cancelButton_Click() {
  okSelected = false;
  Hide();
}

}  // namespace zel
