#include "AboutCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <vector>

#include "AnswerDesktop.h"
#include "ExitStatus.h"
#include "about/FrmAbout.h"
#include "about/FrmVersionInfo.h"
#include "automation/Registry.h"
#include "companions/ServerRegistration.h"
#include "companions/UtilitiesRegistration.h"
#include "control/Registration.h"
#include "control/ZELControl.h"

namespace zelhost {

namespace {

std::vector<forms::Label*> linkLabels(zel::FrmAbout& about) {
  return {&about.lblLinkCorvane, &about.lblLinkVeltrix, &about.lblLinkProduct, &about.lblLinkProduct2};
}

// The dialog as a person reads it, top to bottom, with the address behind each link.
void describe(zel::FrmAbout& about, std::ostream& out) {
  out << about.Caption() << "\n\n" << forTerminal(about.lblTitle.Caption()) << "\n\n";
  out << about.lblSupportedModels.Caption() << "\n";
  for (int i = 0; i < about.supModelsCombo.ListCount(); ++i) out << "  " << about.supModelsCombo.List(i) << "\n";
  out << "\n";
  for (forms::Label* link : linkLabels(about))
    out << fmt::format("{:<20} {}", link->Caption(), about.linkOf(*link)) << "\n";
  out << "\n" << about.lblCopyright.Caption() << "\n";
}

}  // namespace

AboutCommand::AboutCommand(CLI::App& app) {
  command_ = app.add_subcommand("about", "Show the About dialog's content: title, supported models, web links, "
                                         "version");
  auto* components = command_->add_flag(
      "--components", components_,
      "print the component version list as Copy to Clipboard gives it (for a support request)");
  auto* open = command_->add_option("--open", open_, "follow the web link of this caption, e.g. \"ZEL on the Web\"");
  components->excludes(open);
}

int AboutCommand::run() {
  // The add-in's host: the library and the companions installed, the control placed.
  automation::Registry registry;
  automation::ScopedRegistry registryScope(registry);
  kro::registerInstrumentServer(registry);
  kro::registerUtilities(registry);
  zel::DllRegisterServer();
  AnswerDesktop desk(std::cerr);
  forms::ScopedDesktop desktopScope(desk);
  auto control =
      automation::Variant(automation::CreateObject(zel::ZELControl::kProgId)).objectAs<zel::ZELControl>();

  bool linkFound = true;
  desk.setFormHandler([&](forms::Form& form, forms::User& user) {
    if (auto* about = dynamic_cast<zel::FrmAbout*>(&form)) {
      if (components_) {
        user.click(about->cmdVersionInfo);
      } else if (!open_.empty()) {
        linkFound = false;
        for (forms::Label* link : linkLabels(*about)) {
          if (link->Caption() != open_) continue;
          linkFound = true;
          user.click(*link);
        }
        if (!linkFound) {
          std::cerr << "zel: the About dialog has no link \"" << open_ << "\"; it has";
          for (forms::Label* link : linkLabels(*about)) std::cerr << " \"" << link->Caption() << "\"";
          std::cerr << std::endl;
        }
      } else {
        describe(*about, std::cout);
      }
      user.click(about->cmdOK);
    } else if (auto* list = dynamic_cast<zel::FrmVersionInfo*>(&form)) {
      user.click(list->cmdCopyToClipboard);
      user.click(list->cmdOK);
    }
  });
  control->invoke("DoAbout", automation::DispatchKind::Method);
  zel::releaseFrmVersionInfo();

  if (!linkFound) return kExitUsage;
  if (components_) std::cout << desk.clipboardText().value_or("") << std::flush;
  // A message box here means the browser did not start.
  return desk.messageCount() > 0 ? kExitIncomplete : kExitDone;
}

}  // namespace zelhost
