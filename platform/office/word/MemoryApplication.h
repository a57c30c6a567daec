#pragma once
// The in-memory Word: its documents, add-ins, templates, command bars and window state. The
// host creates it with createApplication and uses the members marked as the host's.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "office/MemoryCommandBars.h"
#include "office/word/Application.h"

namespace office::word {

class MemoryAddIns;
class MemoryDocument;
class MemorySystem;
class MemoryTemplates;

class MemoryApplication final : public Application {
 public:
  MemoryApplication();
  ~MemoryApplication() override;

  std::string Name() const override { return "Microsoft Word"; }
  std::shared_ptr<word::Documents> Documents() override;
  std::shared_ptr<Document> ActiveDocument() override;
  std::shared_ptr<word::AddIns> AddIns() override;
  std::shared_ptr<word::Templates> Templates() override;
  std::shared_ptr<word::System> System() override;
  std::shared_ptr<office::CommandBars> CommandBars() override { return commandBars_; }
  std::string StatusBar() const override { return statusText_; }
  void setStatusBar(const std::string& text) override { statusText_ = text; }
  bool DisplayStatusBar() const override { return displayStatusBar_; }
  void setDisplayStatusBar(bool display) override { displayStatusBar_ = display; }

  // --- the host's side ---
  // The handle of Word's top-level window.
  int32_t hwnd() const { return hwnd_; }
  // What the status bar shows: nothing while hidden, Word's own (empty) text until set.
  std::optional<std::string> shownStatusText() const;
  const std::shared_ptr<MemoryCommandBars>& commandBars() const { return commandBars_; }
  const std::shared_ptr<MemoryAddIns>& addIns() const { return addIns_; }
  const std::shared_ptr<MemoryTemplates>& templates() const { return templates_; }
  const std::shared_ptr<MemorySystem>& system() const { return system_; }
  const std::vector<std::shared_ptr<MemoryDocument>>& documents() const { return documents_; }
  std::shared_ptr<MemoryDocument> activeDocument() const;
  // Maps a file name as Word is given it (a Windows path) to a file of this machine.
  using PathResolver = std::function<std::string(const std::string&)>;
  void setPathResolver(PathResolver resolver) { resolver_ = std::move(resolver); }
  std::string resolvePath(const std::string& fileName) const;

  // --- between the in-memory objects ---
  std::shared_ptr<MemoryDocument> addDocument();
  void activateDocument(const std::shared_ptr<MemoryDocument>& document);
  void closeDocument(const std::shared_ptr<MemoryDocument>& document);

 private:
  int32_t hwnd_;
  std::vector<std::shared_ptr<MemoryDocument>> documents_;
  // Documents by last activation, the active one last.
  std::vector<std::weak_ptr<MemoryDocument>> activationOrder_;
  int32_t documentCounter_ = 0;
  std::shared_ptr<MemoryAddIns> addIns_;
  std::shared_ptr<MemoryTemplates> templates_;
  std::shared_ptr<MemorySystem> system_;
  std::shared_ptr<MemoryCommandBars> commandBars_;
  std::string statusText_;
  bool displayStatusBar_ = true;
  PathResolver resolver_;
};

std::shared_ptr<MemoryApplication> createApplication();

}  // namespace office::word
