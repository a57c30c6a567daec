#pragma once
// Word's AddIns (global templates and add-in libraries) and Templates.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::word {

class AddIn : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "ZEL.DOT"
  virtual std::string Path() const = 0;  // the folder, no trailing backslash
  virtual bool Installed() const = 0;
  virtual void setInstalled(bool installed) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class AddIns : public automation::Object {
 public:
  // By 1-based index or by name; 5941 when missing.
  virtual std::shared_ptr<AddIn> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  // Add(FileName, [Install]): loads a global template (installed unless Install is False); an
  // installed template is also one of the Templates.
  virtual std::shared_ptr<AddIn> Add(const std::string& fileName, const automation::Variant& install = {}) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class Template : public automation::Object {
 public:
  virtual std::string Name() const = 0;
  virtual std::string Path() const = 0;
  virtual std::string FullName() const = 0;
  // False once the template changed (a command bar of it, for instance); True marks it saved.
  virtual bool Saved() const = 0;
  virtual void setSaved(bool saved) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class Templates : public automation::Object {
 public:
  // By 1-based index or by name; 5941 when missing.
  virtual std::shared_ptr<Template> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::word
