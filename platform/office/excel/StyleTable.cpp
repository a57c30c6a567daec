#include "office/excel/StyleTable.h"

namespace office::excel {

FontSpec CellStyle::fontAt(int32_t character) const {
  FontSpec result = font;
  for (const FontRun& run : runs) {
    if (character < run.start || character >= run.start + run.length) continue;
    if (run.name) result.name = *run.name;
    if (run.size) result.size = *run.size;
    if (run.bold) result.bold = *run.bold;
    if (run.italic) result.italic = *run.italic;
  }
  return result;
}

StyleTable::StyleTable() { intern(CellStyle{}); }

StyleTable::Index StyleTable::intern(const CellStyle& style) {
  auto [at, added] = indexes_.try_emplace(style, static_cast<Index>(styles_.size()));
  if (added) styles_.push_back(style);
  return at->second;
}

}  // namespace office::excel
