#include "WordHost.h"

#include <iostream>

#include "ConnectDialog.h"
#include "ExcelHost.h"
#include "automation/Variant.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "connections/frmGetScreenImage.h"
#include "control/Registration.h"
#include "control/ZELControl.h"
#include "office/MemoryCommandBars.h"
#include "office/word/AddIns.h"
#include "office/word/DocumentSaver.h"
#include "office/word/MemoryAddIns.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"
#include "win32/Win32.h"

namespace zelhost {

namespace {

// The template's buttons, in the order the control addresses them: no Get Data and no Stop
// Repeated Measurement in Word.
constexpr const char* kButtons[] = {"About", "Connect", "Connected", "Capture/Restore Settings", "Get Screen Image",
                                    "Help"};

}  // namespace

WordHost::WordHost(std::ostream& out) : out_(out), desk_(out) {
  kro::registerInstrumentServer(registry_);
  kro::registerUtilities(registry_);
  zel::DllRegisterServer();

  word_ = office::word::createApplication();
  // Word is handed Windows names (the screen image's temporary metafile); they name files of
  // this computer through the machine's drive mapping.
  word_->setPathResolver([](const std::string& name) {
    return win32::toPosixPath(name).value_or(std::filesystem::path(name)).string();
  });
  word_->AddIns()->Add(kTemplate);
  // The template's own bar: creating it changes the template, until the bar's state marks it saved.
  auto& bars = *word_->commandBars();
  bars.Add(automation::Variant(kToolbarName), automation::Variant(office::msoBarTop));
  for (const char* caption : kButtons) bars.bar(kToolbarName)->Controls()->Add()->setCaption(caption);
  word_->templates()->find("ZEL.DOT")->touch();

  word_->Documents()->Add();
  document_ = word_->activeDocument();
  control_ = automation::Variant(automation::CreateObject(zel::ZELControl::kProgId)).objectAs<zel::ZELControl>();
  site_ = document_->placeControl(control_);
  control_->setConnectedApplication(word_);
  if (const auto& connection = control_->connection()) connection->SetInitialToolbarState();
}

WordHost::~WordHost() {
  // The document holds the control and the control holds its host: closing breaks the cycle.
  while (!word_->documents().empty()) word_->documents().front()->Close();
}

bool WordHost::connect(const std::string& address) { return connectThroughDialog(desk_, *control_, address, out_); }

bool WordHost::placeScreenImage() {
  desk_.setFormHandler([](forms::Form& form, forms::User& user) {
    auto* dialog = dynamic_cast<zel::frmGetScreenImage*>(&form);
    if (!dialog) return;
    user.choose(dialog->picturePlacement);
    user.click(dialog->okButton);
  });
  const int criticalBefore = desk_.criticalCount();
  control_->DoSaveScreenImage();
  desk_.setFormHandler({});
  return desk_.criticalCount() == criticalBefore;
}

void WordHost::save(const std::filesystem::path& path) const {
  automation::PropertyBag& bag = site_->propertyBag();
  bag.clear();
  control_->WriteProperties(bag);
  office::word::DocumentSaver(*document_).save(path, &bag);
}

bool screenImageIntoDocument(const std::string& address, const std::filesystem::path& out) {
  WordHost host(std::cerr);
  if (!host.connect(address)) {
    std::cerr << "zel: could not connect to " << address << std::endl;
    return false;
  }
  if (!host.placeScreenImage()) return false;
  host.save(out);
  return true;
}

}  // namespace zelhost
