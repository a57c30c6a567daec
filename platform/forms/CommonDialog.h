#pragma once
// The common dialog control for opening and saving files. ShowSave and ShowOpen ask the
// desktop; a chosen file lands in FileName (and FilterIndex). A cancelled dialog leaves
// FileName as it was, or raises 32755 (Cancel was selected.) when CancelError is set.
#include <string>
#include <utility>
#include <vector>

#include "forms/Control.h"

namespace forms {

// What the program asks a file dialog for, as the desktop sees it.
struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::string filter;  // "GIF (*.gif)|*.gif|Windows Bitmap (*.bmp)|*.bmp"
  int filterIndex = 0;
  int flags = 0;
  std::string fileName;
  std::string initDir;
  std::string defaultExt;
  // The filter split into (description, pattern) pairs.
  std::vector<std::pair<std::string, std::string>> filters() const;
};

// What the user chose.
struct FileChoice {
  std::string fileName;
  int filterIndex = 1;
};

class CommonDialog : public Control {
 public:
  explicit CommonDialog(const Site& site) : Control(site) {}

  std::string DialogTitle() const;
  void setDialogTitle(std::string title);
  std::string Filter() const;
  void setFilter(std::string filter);
  int FilterIndex() const;
  void setFilterIndex(int index);
  int Flags() const;
  void setFlags(int flags);
  std::string FileName() const;
  void setFileName(std::string name);
  // The chosen file's name without its folder.
  std::string FileTitle() const;
  std::string InitDir() const;
  void setInitDir(std::string dir);
  std::string DefaultExt() const;
  void setDefaultExt(std::string ext);
  bool CancelError() const;
  void setCancelError(bool raise);

  void ShowSave();
  void ShowOpen();

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  void show(bool save);

  struct State {
    std::string title, filter, fileName, fileTitle, initDir, defaultExt;
    int filterIndex = 0, flags = 0;
    bool cancelError = false;
  };
  State s_, design_;
};

}  // namespace forms
