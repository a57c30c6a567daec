#pragma once
// The global templates of an in-memory Word, as add-ins and as templates, and its System.
#include <memory>
#include <string>
#include <vector>

#include "office/word/AddIns.h"
#include "office/word/System.h"

namespace office::word {

class MemoryTemplate final : public Template {
 public:
  explicit MemoryTemplate(std::string fullName);
  std::string Name() const override { return name_; }
  std::string Path() const override { return path_; }
  std::string FullName() const override { return fullName_; }
  bool Saved() const override { return saved_; }
  void setSaved(bool saved) override {
    saved_ = saved;
    ++savedPuts_;
  }
  // Marks the template changed, as editing one of its command bars does.
  void touch() { saved_ = false; }
  // How many times Saved was put, for a host that checks what was marked.
  int savedPuts() const { return savedPuts_; }

 private:
  std::string fullName_, path_, name_;
  bool saved_ = true;
  int savedPuts_ = 0;
  friend class MemoryTemplates;
};

class MemoryTemplates final : public Templates {
 public:
  MemoryTemplates();
  std::shared_ptr<Template> Item(const automation::Variant& index) override;
  int32_t Count() const override { return static_cast<int32_t>(templates_.size()); }

  std::shared_ptr<MemoryTemplate> add(const std::string& fullName);
  void remove(const std::string& fullName);
  // The template of that name (without regard to case), or nullptr.
  std::shared_ptr<MemoryTemplate> find(const std::string& name) const;
  const std::vector<std::shared_ptr<MemoryTemplate>>& all() const { return templates_; }

 private:
  std::vector<std::shared_ptr<MemoryTemplate>> templates_;
};

class MemoryAddIn final : public AddIn {
 public:
  MemoryAddIn(std::string fullName, std::weak_ptr<MemoryTemplates> templates);
  std::string Name() const override { return name_; }
  std::string Path() const override { return path_; }
  bool Installed() const override { return installed_; }
  void setInstalled(bool installed) override;

 private:
  std::string fullName_, path_, name_;
  bool installed_ = false;
  std::weak_ptr<MemoryTemplates> templates_;
};

class MemoryAddIns final : public AddIns {
 public:
  explicit MemoryAddIns(std::weak_ptr<MemoryTemplates> templates) : templates_(std::move(templates)) {}
  std::shared_ptr<AddIn> Item(const automation::Variant& index) override;
  int32_t Count() const override { return static_cast<int32_t>(addIns_.size()); }
  std::shared_ptr<AddIn> Add(const std::string& fileName, const automation::Variant& install = {}) override;

  const std::vector<std::shared_ptr<MemoryAddIn>>& all() const { return addIns_; }

 private:
  std::weak_ptr<MemoryTemplates> templates_;
  std::vector<std::shared_ptr<MemoryAddIn>> addIns_;
};

class MemorySystem final : public System {
 public:
  int32_t Cursor() const override { return cursor_; }
  void setCursor(int32_t cursor) override;
  // Every cursor put, in order, for a host that checks what the user saw.
  const std::vector<int32_t>& cursorsSet() const { return cursorsSet_; }

 private:
  int32_t cursor_ = 2;  // wdCursorNormal
  std::vector<int32_t> cursorsSet_;
};

}  // namespace office::word
