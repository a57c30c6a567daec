#include "office/word/MemoryApplication.h"

#include <algorithm>

#include "office/Errors.h"
#include "office/word/MemoryAddIns.h"
#include "office/word/MemoryDocument.h"

namespace office::word {

namespace {

int32_t nextWindowHandle() {
  static int32_t next = 0x000B0C20;
  return next += 0x10;
}

}  // namespace

std::shared_ptr<MemoryApplication> createApplication() { return std::make_shared<MemoryApplication>(); }

MemoryApplication::MemoryApplication()
    : hwnd_(nextWindowHandle()),
      templates_(std::make_shared<MemoryTemplates>()),
      system_(std::make_shared<MemorySystem>()),
      commandBars_(createCommandBars()) {
  addIns_ = std::make_shared<MemoryAddIns>(templates_);
}

MemoryApplication::~MemoryApplication() {
  for (const auto& document : documents_) document->closed();
}

std::shared_ptr<word::Documents> MemoryApplication::Documents() {
  return std::make_shared<MemoryDocuments>(std::static_pointer_cast<MemoryApplication>(shared_from_this()));
}

std::shared_ptr<MemoryDocument> MemoryApplication::activeDocument() const {
  if (activationOrder_.empty()) return nullptr;
  return activationOrder_.back().lock();
}

std::shared_ptr<Document> MemoryApplication::ActiveDocument() {
  auto active = activeDocument();
  if (!active) throw wordError(wdErrNoDocumentOpen, "This command is not available because no document is open.");
  return active;
}

std::shared_ptr<word::AddIns> MemoryApplication::AddIns() { return addIns_; }
std::shared_ptr<word::Templates> MemoryApplication::Templates() { return templates_; }
std::shared_ptr<word::System> MemoryApplication::System() { return system_; }

std::optional<std::string> MemoryApplication::shownStatusText() const {
  if (!displayStatusBar_) return std::nullopt;
  return statusText_;
}

std::string MemoryApplication::resolvePath(const std::string& fileName) const {
  return resolver_ ? resolver_(fileName) : fileName;
}

std::shared_ptr<MemoryDocument> MemoryApplication::addDocument() {
  auto self = std::static_pointer_cast<MemoryApplication>(shared_from_this());
  auto document = std::make_shared<MemoryDocument>(self, "Document" + std::to_string(++documentCounter_));
  documents_.push_back(document);
  activateDocument(document);
  return document;
}

void MemoryApplication::activateDocument(const std::shared_ptr<MemoryDocument>& document) {
  std::erase_if(activationOrder_, [&](const auto& d) { return d.expired() || d.lock() == document; });
  activationOrder_.push_back(document);
}

void MemoryApplication::closeDocument(const std::shared_ptr<MemoryDocument>& document) {
  std::erase(documents_, document);
  std::erase_if(activationOrder_, [&](const auto& d) { return d.expired() || d.lock() == document; });
  document->closed();
}

}  // namespace office::word
