#include "office/excel/MemoryWorkbook.h"

#include <algorithm>

#include "automation/Error.h"
#include "office/Errors.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemorySheets.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

MemoryWorkbook::MemoryWorkbook(std::weak_ptr<MemoryApplication> application, std::string name)
    : application_(std::move(application)), name_(std::move(name)) {}

void MemoryWorkbook::requireOpen() const {
  if (!open_ || application_.expired())
    throw automation::Error(static_cast<int32_t>(0x800401A8u), "Automation error", kExcelSource);
}

std::string MemoryWorkbook::Name() const {
  requireOpen();
  return name_;
}

std::shared_ptr<excel::Application> MemoryWorkbook::Application() {
  requireOpen();
  return application();
}

void MemoryWorkbook::Activate() {
  requireOpen();
  application()->activateWorkbook(std::static_pointer_cast<MemoryWorkbook>(shared_from_this()));
}

void MemoryWorkbook::Close(const automation::Variant& saveChanges) {
  requireOpen();
  application()->closeWorkbook(std::static_pointer_cast<MemoryWorkbook>(shared_from_this()));
}

std::shared_ptr<excel::Sheets> MemoryWorkbook::Sheets() {
  requireOpen();
  return std::make_shared<MemorySheets>(std::static_pointer_cast<MemoryWorkbook>(shared_from_this()), false);
}

std::shared_ptr<excel::Sheets> MemoryWorkbook::Worksheets() {
  requireOpen();
  return std::make_shared<MemorySheets>(std::static_pointer_cast<MemoryWorkbook>(shared_from_this()), true);
}

automation::ObjectPtr MemoryWorkbook::ActiveSheet() {
  requireOpen();
  return activeSheet_ ? activeSheet_->sheetObject() : nullptr;
}

bool MemoryWorkbook::Saved() const {
  requireOpen();
  return saved_;
}

void MemoryWorkbook::setSaved(bool saved) {
  requireOpen();
  saved_ = saved;
}

std::shared_ptr<ControlSite> MemoryWorkbook::placeControl(automation::ObjectPtr control) {
  requireOpen();
  auto site = ControlSite::create(shared_from_this(), std::move(control), application()->Hwnd());
  sites_.push_back(site);
  return site;
}

std::shared_ptr<MemoryWorksheet> MemoryWorkbook::worksheet(const std::string& name) const {
  return std::dynamic_pointer_cast<MemoryWorksheet>(findSheet(name));
}

std::shared_ptr<MemorySheet> MemoryWorkbook::findSheet(const std::string& name) const {
  for (const auto& sheet : sheets_)
    if (automation::equalsNoCase(sheet->sheetName(), name)) return sheet;
  return nullptr;
}

int32_t MemoryWorkbook::indexOf(const MemorySheet* sheet) const {
  for (size_t i = 0; i < sheets_.size(); ++i)
    if (sheets_[i].get() == sheet) return static_cast<int32_t>(i + 1);
  return 0;
}

std::string MemoryWorkbook::nextSheetName() {
  // Excel counts the worksheets it has made in the workbook and does not reuse a number, but
  // steps over a name the user has given to another sheet.
  std::string name;
  do {
    name = "Sheet" + std::to_string(++sheetCounter_);
  } while (findSheet(name));
  return name;
}

std::shared_ptr<MemoryWorksheet> MemoryWorkbook::insertWorksheets(size_t position, int32_t count) {
  auto self = std::static_pointer_cast<MemoryWorkbook>(shared_from_this());
  std::shared_ptr<MemoryWorksheet> last;
  for (int32_t i = 0; i < count; ++i) {
    last = std::make_shared<MemoryWorksheet>(self, nextSheetName());
    sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(position + static_cast<size_t>(i)), last);
  }
  if (last) activateSheet(last);
  touch();
  return last;
}

void MemoryWorkbook::insertSheet(size_t position, std::shared_ptr<MemorySheet> sheet) {
  sheets_.insert(sheets_.begin() + static_cast<std::ptrdiff_t>(std::min(position, sheets_.size())), sheet);
  activateSheet(sheet);
  touch();
}

void MemoryWorkbook::removeSheet(const MemorySheet* sheet) {
  const int32_t index = indexOf(sheet);
  if (index == 0) return;
  const bool wasActive = activeSheet_.get() == sheet;
  sheets_.erase(sheets_.begin() + (index - 1));
  if (wasActive) {
    activeSheet_.reset();
    if (!sheets_.empty()) activateSheet(sheets_[static_cast<size_t>(std::max(index - 2, 0))]);
  }
  touch();
}

std::string MemoryWorkbook::nextChartName() {
  std::string name;
  do {
    name = "Chart" + std::to_string(++chartCounter_);
  } while (findSheet(name));
  return name;
}

void MemoryWorkbook::activateSheet(const std::shared_ptr<MemorySheet>& sheet) {
  if (activeSheet_ == sheet) return;
  activeSheet_ = sheet;
  if (auto app = application(); app && app->activeWorkbook().get() == this) app->selectObject(nullptr);
  sheet->sheetActivated();
}

void MemoryWorkbook::closed() {
  open_ = false;
  sites_.clear();
}

// --- MemorySheet -------------------------------------------------------------------------------

void checkSheetName(const std::string& name) {
  static const std::string kInvalid =
      "You typed an invalid name for a sheet or chart. Make sure that:\n\n"
      "\xE2\x80\xA2 The name that you type does not exceed 31 characters.\n"
      "\xE2\x80\xA2 The name does not contain any of the following characters: : \\ / ? * [ or ]\n"
      "\xE2\x80\xA2 You did not leave the name blank.";
  // Excel counts characters, not bytes: UTF-8 continuation bytes do not add to the length.
  const size_t length = static_cast<size_t>(
      std::count_if(name.begin(), name.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
  if (name.empty() || length > kMaxSheetNameLength ||
      name.find_first_of(":\\/?*[]") != std::string::npos || name.front() == '\'' || name.back() == '\'')
    throw excelError(kInvalid);
}

std::shared_ptr<MemoryWorkbook> MemorySheet::liveWorkbook() const {
  auto book = workbook_.lock();
  if (!book) throw automation::Error(static_cast<int32_t>(0x800401A8u), "Automation error", kExcelSource);
  book->requireOpen();
  return book;
}

void MemorySheet::rename(const std::string& name) {
  auto book = liveWorkbook();
  checkSheetName(name);
  auto other = book->findSheet(name);
  if (other && other.get() != this) throw excelError("That name is already taken. Try a different one.");
  if (name_ != name) book->touch();
  name_ = name;
}

}  // namespace office::excel
