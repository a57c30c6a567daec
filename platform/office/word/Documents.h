#pragma once
// Word's Documents collection and Document.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::word {

class Application;
class Shapes;

class Document : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "Document1", ...
  virtual std::shared_ptr<word::Application> Application() = 0;
  virtual std::shared_ptr<word::Shapes> Shapes() = 0;
  virtual void Activate() = 0;
  // Close([SaveChanges]): the document before it in activation order becomes active.
  virtual void Close(const automation::Variant& saveChanges = {}) = 0;
  virtual bool Saved() const = 0;
  virtual void setSaved(bool saved) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class Documents : public automation::Object {
 public:
  // Add([Template]): a new document, "Document1", "Document2", ..., which becomes active.
  virtual std::shared_ptr<Document> Add(const automation::Variant& templateName = {}) = 0;
  // By 1-based index or by name; 5941 "The requested member of the collection does not exist."
  virtual std::shared_ptr<Document> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::word
