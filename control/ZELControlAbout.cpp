// ZELControl: the About command.
#include <memory>
#include <string>

#include "about/FrmAbout.h"
#include "automation/Collection.h"
#include "automation/Registry.h"
#include "companions/ComponentVersionInfo.h"
#include "control/Registration.h"
#include "control/ZELControl.h"
#include "forms/Constants.h"

namespace zel {

using automation::Variant;

namespace {

// The components of the toolbar whose versions a support request needs, in the order the
// version list is filled (it shows them the other way round).
constexpr const char* kComponents[] = {
    "KroDiscovery.CIOSettings",
    "KroZEL.ZELEZ",
    "KroInstrSetups.ItemStateInfo",
    "KroInstrUtilities.VCUtilities",
    "KroIO.GPIB",
    "KroIOUtils.KroIOServer",
    "KroIONI488.GPIB",
    "KroRepeatedMeasure.RepeatMeasurement",
    "KroRS232.RS232Config",
    "NDXLServers.ComponentVersionInfo",
    ZELControl::kProgId,
};

// The maker's home page, its page for the product family, and those of the two analyzer lines.
constexpr const char* kCorvanePage = "https://www.corvane.example/";
constexpr const char* kVeltrixPage = "https://www.corvane.example/veltrix/";
constexpr const char* kZELPage = "https://www.corvane.example/veltrix/zel/";
constexpr const char* kORVPage = "https://www.corvane.example/veltrix/orv/";

}  // namespace

void ZELControl::DoAbout() {
  auto about = std::make_unique<FrmAbout>();
  about->InitModels(getIoSetting()->Models());

  auto components = std::make_shared<automation::Collection>();
  for (const char* progId : kComponents) components->Add(Variant(progId));
  about->InitComponentInfo(components);

  about->InitLinks(kCorvanePage, kVeltrixPage, kZELPage, kORVPage);
  about->InitLinkText("Corvane on the Web", "Veltrix on the Web", "ZEL on the Web", "ORV on the Web");
  about->InitTitleText("Veltrix for ORV/ZEL-Q/R/VX Series\r\nSpectrum Analyzers");
  about->setCaption("Corvane ORV/ZEL-Q/R/VX Spectrum Analyzers");

  auto versionInfo = Variant(automation::CreateObject(kro::ComponentVersionInfo::kProgId))
                         .objectAs<kro::IComponentVersionInfo>();
  versionInfo->Load(kProgId);
  about->InitCopyrightText(std::string(kLegalCopyright) + ", Version " + versionInfo->VersionText());

  about->Show(forms::vbModal);
  forms::Unload(*about);
}

}  // namespace zel
