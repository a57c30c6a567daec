#pragma once
// The font of a range's cells or of some characters of one cell, in an in-memory worksheet.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "office/excel/Font.h"
#include "office/excel/StyleTable.h"

namespace office::excel {

class MemoryCharacters;
class MemoryRange;

class MemoryFont final : public Font {
 public:
  explicit MemoryFont(std::shared_ptr<MemoryRange> range) : range_(std::move(range)) {}
  explicit MemoryFont(std::shared_ptr<MemoryCharacters> characters) : characters_(std::move(characters)) {}

  automation::Variant Name() override;
  void setName(const std::string& name) override;
  automation::Variant FontStyle() override;
  void setFontStyle(const std::string& style) override;
  automation::Variant Bold() override;
  void setBold(bool bold) override;
  automation::Variant Italic() override;
  void setItalic(bool italic) override;
  automation::Variant Size() override;
  void setSize(double size) override;

 private:
  // The font properties one put sets, applied to a cell font or recorded in a character run.
  struct Change {
    std::optional<std::string> name = std::nullopt;
    std::optional<double> size = std::nullopt;
    std::optional<bool> bold = std::nullopt;
    std::optional<bool> italic = std::nullopt;
  };
  automation::Variant read(const std::function<automation::Variant(const FontSpec&)>& property);
  void apply(const Change& change);

  std::shared_ptr<MemoryRange> range_;
  std::shared_ptr<MemoryCharacters> characters_;
};

}  // namespace office::excel
