#pragma once
// Excel's Characters: a run of characters of a cell's text (or of a chart title's), with its
// own font.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"

namespace office::excel {

class Font;

class Characters : public automation::Object {
 public:
  virtual std::string Text() = 0;
  // Replaces the run's characters by text.
  virtual void setText(const std::string& text) = 0;
  virtual int32_t Count() = 0;
  virtual std::shared_ptr<excel::Font> Font() = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
