#include "office/excel/MemoryAddIns.h"

#include <tuple>

#include "automation/Conversions.h"
#include "automation/Error.h"

namespace office::excel {

std::pair<std::string, std::string> splitWindowsPath(const std::string& fullName) {
  const size_t slash = fullName.find_last_of("\\/");
  if (slash == std::string::npos) return {"", fullName};
  return {fullName.substr(0, slash), fullName.substr(slash + 1)};
}

MemoryAddIn::MemoryAddIn(std::string fullName) : fullName_(std::move(fullName)) {
  std::tie(path_, name_) = splitWindowsPath(fullName_);
}

std::shared_ptr<AddIn> MemoryAddIns::Item(const automation::Variant& index) {
  if (index.isString()) {
    const std::string& wanted = index.asString();
    for (const auto& addIn : addIns_) {
      const std::string& name = addIn->Name();
      const std::string title = name.substr(0, name.find_last_of('.'));
      if (automation::equalsNoCase(name, wanted) || automation::equalsNoCase(title, wanted)) return addIn;
    }
    throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > Count()) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  return addIns_[static_cast<size_t>(i - 1)];
}

std::shared_ptr<AddIn> MemoryAddIns::Add(const std::string& fileName, const automation::Variant& copyFile) {
  for (const auto& addIn : addIns_)
    if (automation::equalsNoCase(addIn->FullName(), fileName)) return addIn;
  addIns_.push_back(std::make_shared<MemoryAddIn>(fileName));
  return addIns_.back();
}

}  // namespace office::excel
