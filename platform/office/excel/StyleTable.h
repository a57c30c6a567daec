#pragma once
// The formatting of cells, shared: each cell keeps an index into its workbook's style table,
// so a column of a hundred thousand numbers with one number format holds one style.
//
// A style carries the number format, the horizontal alignment, the cell's font and, for text
// whose characters are formatted one by one, runs of character fonts over the cell font.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "office/excel/Constants.h"

namespace office::excel {

struct FontSpec {
  std::string name = "Calibri";
  double size = 11.0;
  bool bold = false;
  bool italic = false;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
  friend auto operator<=>(const FontSpec&, const FontSpec&) = default;
};

// Characters start .. start + length - 1 (1-based) of the cell's text with the font properties
// that are set here; unset ones come from the cell font. Later runs win over earlier ones.
struct FontRun {
  int32_t start = 1;
  int32_t length = 0;
  std::optional<std::string> name;
  std::optional<double> size;
  std::optional<bool> bold;
  std::optional<bool> italic;
  friend bool operator==(const FontRun&, const FontRun&) = default;
  friend auto operator<=>(const FontRun&, const FontRun&) = default;
};

struct CellStyle {
  std::string numberFormat = "General";
  int32_t horizontalAlignment = xlGeneral;
  FontSpec font;
  std::vector<FontRun> runs;

  // The font of one character (1-based) of the cell's text.
  FontSpec fontAt(int32_t character) const;
  bool hasCharacterFonts() const { return !runs.empty(); }
  friend bool operator==(const CellStyle&, const CellStyle&) = default;
  friend auto operator<=>(const CellStyle&, const CellStyle&) = default;
};

class StyleTable {
 public:
  using Index = uint32_t;
  static constexpr Index kDefault = 0;  // General, general alignment, the standard font

  StyleTable();
  // The index of a style equal to `style`, adding it when new.
  Index intern(const CellStyle& style);
  const CellStyle& at(Index index) const { return styles_.at(index); }
  size_t size() const { return styles_.size(); }

 private:
  std::vector<CellStyle> styles_;
  std::map<CellStyle, Index> indexes_;
};

}  // namespace office::excel
