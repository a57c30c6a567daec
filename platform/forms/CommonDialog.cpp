#include "forms/CommonDialog.h"

#include "automation/Error.h"
#include "forms/Desktop.h"

namespace forms {

std::vector<std::pair<std::string, std::string>> FileDialogRequest::filters() const {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size() && !filter.empty()) {
    const size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> result;
  for (size_t i = 0; i < parts.size(); i += 2) {
    result.emplace_back(parts[i], i + 1 < parts.size() ? parts[i + 1] : std::string());
  }
  return result;
}

#define ZEL_DIALOG_PROPERTY(Type, Getter, Setter, field) \
  Type CommonDialog::Getter() const {                    \
    touch();                                             \
    return s_.field;                                     \
  }                                                      \
  void CommonDialog::Setter(Type value) {                \
    touch();                                             \
    s_.field = std::move(value);                         \
  }
ZEL_DIALOG_PROPERTY(std::string, DialogTitle, setDialogTitle, title)
ZEL_DIALOG_PROPERTY(std::string, Filter, setFilter, filter)
ZEL_DIALOG_PROPERTY(int, FilterIndex, setFilterIndex, filterIndex)
ZEL_DIALOG_PROPERTY(int, Flags, setFlags, flags)
ZEL_DIALOG_PROPERTY(std::string, FileName, setFileName, fileName)
ZEL_DIALOG_PROPERTY(std::string, InitDir, setInitDir, initDir)
ZEL_DIALOG_PROPERTY(std::string, DefaultExt, setDefaultExt, defaultExt)
ZEL_DIALOG_PROPERTY(bool, CancelError, setCancelError, cancelError)
#undef ZEL_DIALOG_PROPERTY

std::string CommonDialog::FileTitle() const {
  touch();
  return s_.fileTitle;
}

void CommonDialog::ShowSave() { show(true); }
void CommonDialog::ShowOpen() { show(false); }

void CommonDialog::show(bool save) {
  touch();
  FileDialogRequest request;
  request.save = save;
  request.title = s_.title.empty() ? (save ? "Save As" : "Open") : s_.title;
  request.filter = s_.filter;
  request.filterIndex = s_.filterIndex;
  request.flags = s_.flags;
  request.fileName = s_.fileName;
  request.initDir = s_.initDir;
  request.defaultExt = s_.defaultExt;
  std::optional<FileChoice> choice = desktop().fileDialog(request);
  if (!choice) {
    if (s_.cancelError) throw automation::Error(cdlCancel, "Cancel was selected.");
    return;
  }
  s_.fileName = choice->fileName;
  const size_t slash = s_.fileName.find_last_of("\\/");
  s_.fileTitle = slash == std::string::npos ? s_.fileName : s_.fileName.substr(slash + 1);
  s_.filterIndex = choice->filterIndex;
}

void CommonDialog::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void CommonDialog::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
