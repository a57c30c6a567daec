#pragma once
// The host of the control in Word: the Word stand-in with the template "ZEL.DOT" loaded, its
// command bar created in the initial state, and a new document holding the control, connected to
// the instrument through the Connect dialog. Word takes the analyzer's screen image and its
// settings; it has no trace transfer.
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

#include "AnswerDesktop.h"
#include "automation/Registry.h"
#include "forms/Desktop.h"
#include "office/ControlSite.h"

namespace office::word {
class MemoryApplication;
class MemoryDocument;
}  // namespace office::word
namespace zel {
class ZELControl;
}

namespace zelhost {

class WordHost {
 public:
  static constexpr const char* kTemplate = R"(C:\Program Files\ZEL\ZEL.DOT)";

  explicit WordHost(std::ostream& out);
  ~WordHost();
  WordHost(const WordHost&) = delete;
  WordHost& operator=(const WordHost&) = delete;

  // Connects through the Connect dialog; false when no link was attached.
  bool connect(const std::string& address);
  // Get Screen Image with "Place In Active Document"; false when the system reported a failure
  // (its message shown).
  bool placeScreenImage();
  // Saves the document that holds the control as .docx, with the control's state inside.
  void save(const std::filesystem::path& path) const;

  AnswerDesktop& desktop() { return desk_; }
  zel::ZELControl& control() { return *control_; }
  office::word::MemoryApplication& word() { return *word_; }
  office::word::MemoryDocument& document() { return *document_; }

 private:
  std::ostream& out_;
  automation::Registry registry_;
  automation::ScopedRegistry registryScope_{registry_};
  AnswerDesktop desk_;
  forms::ScopedDesktop desktopScope_{desk_};
  std::shared_ptr<office::word::MemoryApplication> word_;
  std::shared_ptr<office::word::MemoryDocument> document_;
  std::shared_ptr<zel::ZELControl> control_;
  std::shared_ptr<office::ControlSite> site_;
};

// zel screen-image --out FILE.docx: the template's host connected to the analyzer, the picture
// placed in the new document and the document saved as FILE. False, with the reason on stderr,
// when no link could be attached or the system reported a failure; nothing is saved then.
bool screenImageIntoDocument(const std::string& address, const std::filesystem::path& out);

}  // namespace zelhost
