#pragma once
// An in-memory Word document with its pictures and placed controls, and the Documents view.
#include <memory>
#include <string>
#include <vector>

#include "office/ControlSite.h"
#include "office/Picture.h"
#include "office/word/Documents.h"
#include "office/word/Shapes.h"

namespace office::word {

class MemoryApplication;

class MemoryShape final : public Shape {
 public:
  MemoryShape(std::string name, Picture picture, double left, double top, double width, double height)
      : name_(std::move(name)), picture_(std::move(picture)), left_(left), top_(top), width_(width), height_(height) {}

  std::string Name() const override { return name_; }
  int32_t Type() const override { return 13; }  // msoPicture
  double Left() const override { return left_; }
  double Top() const override { return top_; }
  double Width() const override { return width_; }
  double Height() const override { return height_; }
  const Picture& picture() const { return picture_; }

 private:
  std::string name_;
  Picture picture_;
  double left_, top_, width_, height_;
};

class MemoryDocument final : public Document {
 public:
  MemoryDocument(std::weak_ptr<MemoryApplication> application, std::string name);

  std::string Name() const override;
  std::shared_ptr<word::Application> Application() override;
  std::shared_ptr<word::Shapes> Shapes() override;
  void Activate() override;
  void Close(const automation::Variant& saveChanges = {}) override;
  bool Saved() const override;
  void setSaved(bool saved) override;

  // --- the host's side ---
  std::shared_ptr<ControlSite> placeControl(automation::ObjectPtr control);
  const std::vector<std::shared_ptr<ControlSite>>& controlSites() const { return sites_; }
  const std::vector<std::shared_ptr<MemoryShape>>& shapes() const { return shapes_; }
  bool isOpen() const { return open_; }

  // --- between the in-memory objects ---
  std::shared_ptr<MemoryApplication> application() const { return application_.lock(); }
  void requireOpen() const;
  std::shared_ptr<MemoryShape> addPicture(const std::string& fileName, const automation::Variant& linkToFile,
                                          const automation::Variant& saveWithDocument, const automation::Variant& left,
                                          const automation::Variant& top, const automation::Variant& width,
                                          const automation::Variant& height);
  void closed();

 private:
  std::weak_ptr<MemoryApplication> application_;
  std::string name_;
  bool saved_ = true;
  bool open_ = true;
  std::vector<std::shared_ptr<MemoryShape>> shapes_;
  int32_t pictureCounter_ = 0;
  std::vector<std::shared_ptr<ControlSite>> sites_;
};

class MemoryDocuments final : public Documents {
 public:
  explicit MemoryDocuments(std::shared_ptr<MemoryApplication> application) : application_(std::move(application)) {}
  std::shared_ptr<Document> Add(const automation::Variant& templateName = {}) override;
  std::shared_ptr<Document> Item(const automation::Variant& index) override;
  int32_t Count() const override;

 private:
  std::shared_ptr<MemoryApplication> application_;
};

class MemoryShapes final : public Shapes {
 public:
  explicit MemoryShapes(std::shared_ptr<MemoryDocument> document) : document_(std::move(document)) {}
  std::shared_ptr<Shape> AddPicture(const std::string& fileName, const automation::Variant& linkToFile = {},
                                    const automation::Variant& saveWithDocument = {},
                                    const automation::Variant& left = {}, const automation::Variant& top = {},
                                    const automation::Variant& width = {}, const automation::Variant& height = {},
                                    const automation::Variant& anchor = {}) override;
  std::shared_ptr<Shape> Item(const automation::Variant& index) override;
  int32_t Count() const override;

 private:
  std::shared_ptr<MemoryDocument> document_;
};

}  // namespace office::word
