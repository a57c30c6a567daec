#include "companions/VCUtilities.h"

#include "automation/Error.h"
#include "automation/Foreign.h"
#include "automation/TypeInfoBuilder.h"
#include "office/ControlSite.h"
#include "office/excel/Workbook.h"
#include "office/word/Documents.h"

namespace kro {
namespace {

constexpr const char* kSource = "KroInstrUtilities.VCUtilities";

VCUtilities::ForeignPlacement foreignPlacement;

VCUtilities::Placement placementOf(const automation::ObjectPtr& control) {
  if (!control) throw automation::Error::vb(automation::vbErrObjectNotSet, kSource);
  if (auto site = office::ControlSite::of(*control)) {
    if (auto container = site->container()) return {std::move(container), site->topLevelHwnd()};
  } else if (automation::isForeign(control) && foreignPlacement) {
    if (auto placed = foreignPlacement(control); placed && placed->container) return std::move(*placed);
  }
  throw automation::Error::object(VCUtilities::kErrNotPlaced,
                                  "The control is not placed in an open workbook or document", kSource);
}

// A document of another component (the host's own Office, reached through COM) says nothing of
// its kind until it is called: it is taken as the kind asked for, and its caller's view of it
// calls it by that kind's names.
template <class Kind>
bool isOfKind(const automation::ObjectPtr& container) {
  return automation::isForeign(container) || std::dynamic_pointer_cast<Kind>(container);
}

}  // namespace

const automation::TypeInfo& VCUtilities::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<VCUtilities>(kClassName)
                                               .interface(kIid, "_VCUtilities")
                                               .method("TopLevelHwnd", 1, &VCUtilities::TopLevelHwnd)
                                               .method("ContainingWorkbook", 2, &VCUtilities::ContainingWorkbook)
                                               .method("ContainingDocument", 3, &VCUtilities::ContainingDocument)
                                               .build();
  return info;
}

void VCUtilities::setForeignPlacement(ForeignPlacement placement) { foreignPlacement = std::move(placement); }

int32_t VCUtilities::TopLevelHwnd(const automation::ObjectPtr& control) { return placementOf(control).topLevelHwnd; }

automation::ObjectPtr VCUtilities::ContainingWorkbook(const automation::ObjectPtr& control) {
  automation::ObjectPtr container = placementOf(control).container;
  if (!isOfKind<office::excel::Workbook>(container))
    throw automation::Error::object(kErrContainerKind, "The control is not placed in an Excel workbook", kSource);
  return container;
}

automation::ObjectPtr VCUtilities::ContainingDocument(const automation::ObjectPtr& control) {
  automation::ObjectPtr container = placementOf(control).container;
  if (!isOfKind<office::word::Document>(container))
    throw automation::Error::object(kErrContainerKind, "The control is not placed in a Word document", kSource);
  return container;
}

}  // namespace kro
