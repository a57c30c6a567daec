#pragma once
// A host for the library in tests: a registry with the library and the companions registered,
// a scripted desktop, and Excel or Word with the add-in loaded and the control placed in the
// document, as the add-in does it.
#include <memory>
#include <string>

#include "automation/Registry.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "control/Registration.h"
#include "control/ZELControl.h"
#include "forms/ScriptedDesktop.h"
#include "office/ControlSite.h"
#include "office/excel/AddIns.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Workbooks.h"
#include "office/word/AddIns.h"
#include "office/word/Documents.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"

namespace zel::testing {

inline constexpr const char* kAddInFolder = R"(C:\Program Files\ZEL)";

class Host {
 public:
  Host() {
    kro::registerInstrumentServer(registry);
    kro::registerUtilities(registry);
    DllRegisterServer();
  }
  ~Host() {
    // Documents hold their controls and controls hold their host: closing breaks the cycle.
    if (excel)
      while (!excel->workbooks().empty()) excel->workbooks().front()->Close();
    if (word)
      while (word->Documents()->Count() > 0) word->ActiveDocument()->Close();
  }

  std::shared_ptr<office::excel::MemoryApplication> startExcel(const std::string& addIn = "ZEL.XLA") {
    excel = office::excel::createApplication();
    excel->Workbooks()->Add();
    if (!addIn.empty()) excel->AddIns()->Add(std::string(kAddInFolder) + "\\" + addIn);
    return excel;
  }

  std::shared_ptr<office::word::MemoryApplication> startWord(const std::string& addIn = "ZEL.DOT",
                                                             bool withDocument = true) {
    word = office::word::createApplication();
    if (withDocument) word->Documents()->Add();
    if (!addIn.empty()) word->AddIns()->Add(std::string(kAddInFolder) + "\\" + addIn);
    return word;
  }

  // A new control created by its ProgID, as the container does.
  std::shared_ptr<ZELControl> createControl() {
    return automation::Variant(automation::CreateObject(ZELControl::kProgId)).objectAs<ZELControl>();
  }

  std::shared_ptr<ZELControl> placeInWorkbook() {
    auto control = createControl();
    site = excel->activeWorkbook()->placeControl(control);
    return control;
  }

  std::shared_ptr<ZELControl> placeInDocument() {
    auto control = createControl();
    auto document = std::dynamic_pointer_cast<office::word::MemoryDocument>(word->ActiveDocument());
    site = document->placeControl(control);
    return control;
  }

  automation::Registry registry;
  automation::ScopedRegistry registryScope{registry};
  forms::ScriptedDesktop desk;
  forms::ScopedDesktop desktopScope{desk};
  std::shared_ptr<office::excel::MemoryApplication> excel;
  std::shared_ptr<office::word::MemoryApplication> word;
  std::shared_ptr<office::ControlSite> site;
};

}  // namespace zel::testing
