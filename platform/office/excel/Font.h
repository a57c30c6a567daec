#pragma once
// Excel's Font of a range or of some characters. Reading a property that differs across the
// cells or characters gives Null.
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Font : public automation::Object {
 public:
  virtual automation::Variant Name() = 0;
  virtual void setName(const std::string& name) = 0;
  // "Regular", "Bold", "Italic" or "Bold Italic"; sets Bold and Italic together.
  virtual automation::Variant FontStyle() = 0;
  virtual void setFontStyle(const std::string& style) = 0;
  virtual automation::Variant Bold() = 0;
  virtual void setBold(bool bold) = 0;
  virtual automation::Variant Italic() = 0;
  virtual void setItalic(bool italic) = 0;
  // Points.
  virtual automation::Variant Size() = 0;
  virtual void setSize(double size) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
