#include "office/word/MemoryDocument.h"

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/word/MemoryApplication.h"

namespace office::word {

using automation::Variant;

namespace {

automation::Error noSuchMember() {
  return wordError(wdErrNoSuchMember, "The requested member of the collection does not exist.");
}

}  // namespace

MemoryDocument::MemoryDocument(std::weak_ptr<MemoryApplication> application, std::string name)
    : application_(std::move(application)), name_(std::move(name)) {}

void MemoryDocument::requireOpen() const {
  // Word's text for a document variable whose document was closed.
  if (!open_ || application_.expired()) throw wordError(4605, "This method or property is not available because the object refers to a closed document.");
}

std::string MemoryDocument::Name() const {
  requireOpen();
  return name_;
}

std::shared_ptr<word::Application> MemoryDocument::Application() {
  requireOpen();
  return application();
}

std::shared_ptr<word::Shapes> MemoryDocument::Shapes() {
  requireOpen();
  return std::make_shared<MemoryShapes>(std::static_pointer_cast<MemoryDocument>(shared_from_this()));
}

void MemoryDocument::Activate() {
  requireOpen();
  application()->activateDocument(std::static_pointer_cast<MemoryDocument>(shared_from_this()));
}

void MemoryDocument::Close(const Variant& saveChanges) {
  requireOpen();
  application()->closeDocument(std::static_pointer_cast<MemoryDocument>(shared_from_this()));
}

bool MemoryDocument::Saved() const {
  requireOpen();
  return saved_;
}

void MemoryDocument::setSaved(bool saved) {
  requireOpen();
  saved_ = saved;
}

std::shared_ptr<ControlSite> MemoryDocument::placeControl(automation::ObjectPtr control) {
  requireOpen();
  auto site = ControlSite::create(shared_from_this(), std::move(control), application()->hwnd());
  sites_.push_back(site);
  return site;
}

std::shared_ptr<MemoryShape> MemoryDocument::addPicture(const std::string& fileName, const Variant& linkToFile,
                                                        const Variant& saveWithDocument, const Variant& left,
                                                        const Variant& top, const Variant& width,
                                                        const Variant& height) {
  requireOpen();
  auto bytes = readFileBytes(application()->resolvePath(fileName));
  if (!bytes) throw wordError(wdErrBadFileName, "This is not a valid file name.");
  Picture picture{fileName, std::move(*bytes), !linkToFile.isEmpty() && automation::CBool(linkToFile),
                  saveWithDocument.isEmpty() || automation::CBool(saveWithDocument)};
  // Left out, a picture sits at the top left of the page in its own size (0 for a file that
  // tells none).
  const PictureSize own = ownSize(picture.bytes).value_or(PictureSize{});
  auto number = [](const Variant& v, double otherwise) { return v.isEmpty() ? otherwise : automation::CDbl(v); };
  auto shape = std::make_shared<MemoryShape>("Picture " + std::to_string(++pictureCounter_), std::move(picture),
                                             number(left, 0), number(top, 0), number(width, own.width),
                                             number(height, own.height));
  shapes_.push_back(shape);
  saved_ = false;
  return shape;
}

void MemoryDocument::closed() {
  open_ = false;
  sites_.clear();
}

std::shared_ptr<Document> MemoryDocuments::Add(const Variant& templateName) { return application_->addDocument(); }

std::shared_ptr<Document> MemoryDocuments::Item(const Variant& index) {
  const auto& documents = application_->documents();
  if (index.isString()) {
    for (const auto& document : documents)
      if (automation::equalsNoCase(document->Name(), index.asString())) return document;
    throw noSuchMember();
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > Count()) throw noSuchMember();
  return documents[static_cast<size_t>(i - 1)];
}

int32_t MemoryDocuments::Count() const { return static_cast<int32_t>(application_->documents().size()); }

std::shared_ptr<Shape> MemoryShapes::AddPicture(const std::string& fileName, const Variant& linkToFile,
                                                const Variant& saveWithDocument, const Variant& left,
                                                const Variant& top, const Variant& width, const Variant& height,
                                                const Variant& anchor) {
  return document_->addPicture(fileName, linkToFile, saveWithDocument, left, top, width, height);
}

std::shared_ptr<Shape> MemoryShapes::Item(const Variant& index) {
  const auto& shapes = document_->shapes();
  if (index.isString()) {
    for (const auto& shape : shapes)
      if (automation::equalsNoCase(shape->Name(), index.asString())) return shape;
    throw noSuchMember();
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > Count()) throw noSuchMember();
  return shapes[static_cast<size_t>(i - 1)];
}

int32_t MemoryShapes::Count() const {
  document_->requireOpen();
  return static_cast<int32_t>(document_->shapes().size());
}

}  // namespace office::word
