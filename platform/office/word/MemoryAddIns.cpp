#include "office/word/MemoryAddIns.h"

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/word/Application.h"

namespace office::word {

using automation::Variant;

namespace {

automation::Error noSuchMember() {
  return wordError(wdErrNoSuchMember, "The requested member of the collection does not exist.");
}

void split(const std::string& fullName, std::string& path, std::string& name) {
  const size_t slash = fullName.find_last_of("\\/");
  path = slash == std::string::npos ? std::string() : fullName.substr(0, slash);
  name = slash == std::string::npos ? fullName : fullName.substr(slash + 1);
}

template <class T>
std::shared_ptr<T> byIndexOrName(const std::vector<std::shared_ptr<T>>& items, const Variant& index) {
  if (index.isString()) {
    for (const auto& item : items)
      if (automation::equalsNoCase(item->Name(), index.asString())) return item;
    throw noSuchMember();
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > static_cast<int32_t>(items.size())) throw noSuchMember();
  return items[static_cast<size_t>(i - 1)];
}

}  // namespace

MemoryTemplate::MemoryTemplate(std::string fullName) : fullName_(std::move(fullName)) {
  split(fullName_, path_, name_);
}

MemoryTemplates::MemoryTemplates() {
  // Word always has its Normal template.
  add("C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Templates\\Normal.dot");
}

std::shared_ptr<Template> MemoryTemplates::Item(const Variant& index) { return byIndexOrName(templates_, index); }

std::shared_ptr<MemoryTemplate> MemoryTemplates::add(const std::string& fullName) {
  for (const auto& t : templates_)
    if (automation::equalsNoCase(t->FullName(), fullName)) return t;
  templates_.push_back(std::make_shared<MemoryTemplate>(fullName));
  return templates_.back();
}

void MemoryTemplates::remove(const std::string& fullName) {
  std::erase_if(templates_, [&](const auto& t) { return automation::equalsNoCase(t->FullName(), fullName); });
}

std::shared_ptr<MemoryTemplate> MemoryTemplates::find(const std::string& name) const {
  for (const auto& t : templates_)
    if (automation::equalsNoCase(t->Name(), name)) return t;
  return nullptr;
}

MemoryAddIn::MemoryAddIn(std::string fullName, std::weak_ptr<MemoryTemplates> templates)
    : fullName_(std::move(fullName)), templates_(std::move(templates)) {
  split(fullName_, path_, name_);
}

void MemoryAddIn::setInstalled(bool installed) {
  installed_ = installed;
  if (auto templates = templates_.lock()) {
    if (installed)
      templates->add(fullName_);
    else
      templates->remove(fullName_);
  }
}

std::shared_ptr<AddIn> MemoryAddIns::Item(const Variant& index) { return byIndexOrName(addIns_, index); }

std::shared_ptr<AddIn> MemoryAddIns::Add(const std::string& fileName, const Variant& install) {
  std::shared_ptr<MemoryAddIn> addIn;
  for (const auto& a : addIns_)
    if (automation::equalsNoCase(a->Name(), fileName) || automation::equalsNoCase(a->Name(), fileName.substr(fileName.find_last_of("\\/") + 1)))
      addIn = a;
  if (!addIn) {
    addIn = std::make_shared<MemoryAddIn>(fileName, templates_);
    addIns_.push_back(addIn);
  }
  addIn->setInstalled(install.isEmpty() || automation::CBool(install));
  return addIn;
}

void MemorySystem::setCursor(int32_t cursor) {
  if (cursor < wdCursorWait || cursor > wdCursorNorthwestArrow) throw wordError(wdErrValueOutOfRange, "Value out of range");
  cursor_ = cursor;
  cursorsSet_.push_back(cursor);
}

}  // namespace office::word
