#pragma once
// Word's Application, as the system and its host call it. Implementations: the in-memory one
// (MemoryApplication.h); on Windows a wrapper over the real Word.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"

namespace office {
class CommandBars;
}

namespace office::word {

class AddIns;
class Document;
class Documents;
class System;
class Templates;

// WdCursorType (System.Cursor).
enum WdCursorType : int32_t {
  wdCursorWait = 0,
  wdCursorIBeam = 1,
  wdCursorNormal = 2,
  wdCursorNorthwestArrow = 3,
};

// Word's error numbers the system can meet.
inline constexpr int32_t wdErrNoDocumentOpen = 4248;
inline constexpr int32_t wdErrValueOutOfRange = 4608;
inline constexpr int32_t wdErrNoSuchMember = 5941;
inline constexpr int32_t wdErrBadFileName = 5152;

class Application : public automation::Object {
 public:
  virtual std::string Name() const = 0;  // "Microsoft Word"
  virtual std::shared_ptr<word::Documents> Documents() = 0;
  // Raises 4248 "This command is not available because no document is open." when none is.
  virtual std::shared_ptr<word::Document> ActiveDocument() = 0;
  virtual std::shared_ptr<word::AddIns> AddIns() = 0;
  // The templates in use: Normal first, then global templates as they were loaded.
  virtual std::shared_ptr<word::Templates> Templates() = 0;
  virtual std::shared_ptr<word::System> System() = 0;
  virtual std::shared_ptr<office::CommandBars> CommandBars() = 0;
  // The text shown in the status bar ("" while Word shows its own).
  virtual std::string StatusBar() const = 0;
  virtual void setStatusBar(const std::string& text) = 0;
  virtual bool DisplayStatusBar() const = 0;
  virtual void setDisplayStatusBar(bool display) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::word
