#pragma once
// Excel's AddIns: the add-ins Excel knows of, each with its file name and folder.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class AddIn : public automation::Object {
 public:
  virtual std::string Name() const = 0;      // the file name: "ZEL.XLA"
  virtual std::string Path() const = 0;      // the folder, no trailing backslash
  virtual std::string FullName() const = 0;  // Path \ Name
  virtual bool Installed() const = 0;
  virtual void setInstalled(bool installed) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class AddIns : public automation::Object {
 public:
  // By 1-based index or by name / title (without regard to case); 9 when missing.
  virtual std::shared_ptr<AddIn> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  // Add(Filename, [CopyFile]): makes the add-in file known (not installed); the file name is
  // a Windows path ("C:\Program Files\ZEL\ZEL.XLA"). A file already known is returned as is.
  virtual std::shared_ptr<AddIn> Add(const std::string& fileName,
                                     const automation::Variant& copyFile = {}) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
