#pragma once
// The instrument utilities object ("KroInstrUtilities.VCUtilities"): finds, for a control that a
// host document holds, the host's top-level window and the workbook or document that holds it.
// It asks the container through the control's site, as the real utilities ask the control's
// client site; a control of another module is asked for its OLE client site.
#include <cstdint>
#include <functional>
#include <optional>

#include "automation/Object.h"

namespace kro {

class VCUtilities : public automation::Object {
 public:
  static constexpr const char* kProgId = "KroInstrUtilities.VCUtilities";
  static constexpr const char* kClassName = "VCUtilities";
  static constexpr const char* kClsid = "{7C1B5E30-44A2-4D8E-9B61-2F0E8A7D3C51}";
  static constexpr const char* kIid = "{7C1B5E31-44A2-4D8E-9B61-2F0E8A7D3C51}";
  // Object-defined error codes (vbObjectError + code).
  static constexpr int32_t kErrNotPlaced = 0x221;      // no open document holds the control
  static constexpr int32_t kErrContainerKind = 0x222;  // the container is of the other host

  const automation::TypeInfo& typeInfo() const override;

  // Where a control is placed: the workbook or document that holds it and the host's window.
  struct Placement {
    automation::ObjectPtr container;
    int32_t topLevelHwnd = 0;
  };
  // How a control of another module tells where it is placed (the Windows build's companions
  // module asks its OLE client site); without it such a control is placed nowhere.
  using ForeignPlacement = std::function<std::optional<Placement>(const automation::ObjectPtr& control)>;
  static void setForeignPlacement(ForeignPlacement placement);

  // Each raises kErrNotPlaced when no open document holds the control (91 for Nothing).
  int32_t TopLevelHwnd(const automation::ObjectPtr& control);
  // The Excel workbook holding the control; raises kErrContainerKind when a Word document holds it.
  automation::ObjectPtr ContainingWorkbook(const automation::ObjectPtr& control);
  // The Word document holding the control; raises kErrContainerKind when an Excel workbook holds it.
  automation::ObjectPtr ContainingDocument(const automation::ObjectPtr& control);
};

}  // namespace kro
