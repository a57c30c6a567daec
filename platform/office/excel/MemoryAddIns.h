#pragma once
// The add-ins an in-memory Excel knows of.
#include <memory>
#include <string>
#include <vector>

#include "office/excel/AddIns.h"

namespace office::excel {

class MemoryAddIn final : public AddIn {
 public:
  explicit MemoryAddIn(std::string fullName);

  std::string Name() const override { return name_; }
  std::string Path() const override { return path_; }
  std::string FullName() const override { return fullName_; }
  bool Installed() const override { return installed_; }
  void setInstalled(bool installed) override { installed_ = installed; }

 private:
  std::string fullName_, path_, name_;
  bool installed_ = false;
};

class MemoryAddIns final : public AddIns {
 public:
  std::shared_ptr<AddIn> Item(const automation::Variant& index) override;
  int32_t Count() const override { return static_cast<int32_t>(addIns_.size()); }
  std::shared_ptr<AddIn> Add(const std::string& fileName,
                             const automation::Variant& copyFile = {}) override;

  const std::vector<std::shared_ptr<MemoryAddIn>>& all() const { return addIns_; }

 private:
  std::vector<std::shared_ptr<MemoryAddIn>> addIns_;
};

// Splits a Windows file name into its folder (no trailing backslash) and its file name.
std::pair<std::string, std::string> splitWindowsPath(const std::string& fullName);

}  // namespace office::excel
