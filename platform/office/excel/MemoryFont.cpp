#include "office/excel/MemoryFont.h"

#include <algorithm>

#include "automation/Conversions.h"
#include "office/Errors.h"
#include "office/excel/MemoryCharacters.h"
#include "office/excel/MemoryRange.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

using automation::Variant;

namespace {

const char* styleName(bool bold, bool italic) {
  if (bold && italic) return "Bold Italic";
  if (bold) return "Bold";
  if (italic) return "Italic";
  return "Regular";
}

// A run's overrides on top of a cell font.
FontSpec withRun(FontSpec font, const FontRun& run) {
  if (run.name) font.name = *run.name;
  if (run.size) font.size = *run.size;
  if (run.bold) font.bold = *run.bold;
  if (run.italic) font.italic = *run.italic;
  return font;
}

}  // namespace

Variant MemoryFont::read(const std::function<Variant(const FontSpec&)>& property) {
  if (range_) {
    // A cell whose characters carry other values of the property makes the range mixed.
    return range_->commonStyleValue([&](const CellStyle& style) {
      Variant value = property(style.font);
      for (const FontRun& run : style.runs)
        if (!(property(withRun(style.font, run)) == value)) return Variant::null();
      return value;
    });
  }
  auto& sheet = *characters_->sheet();
  const CellStyle& style = sheet.style(characters_->row(), characters_->column());
  const int32_t count = characters_->length();
  if (count == 0) return property(style.font);
  const Variant first = property(style.fontAt(characters_->start()));
  for (int32_t i = 1; i < count; ++i)
    if (!(property(style.fontAt(characters_->start() + i)) == first)) return Variant::null();
  return first;
}

void MemoryFont::apply(const Change& change) {
  auto applyTo = [&](FontSpec& font) {
    if (change.name) font.name = *change.name;
    if (change.size) font.size = *change.size;
    if (change.bold) font.bold = *change.bold;
    if (change.italic) font.italic = *change.italic;
  };
  if (range_) {
    // The whole cell takes the property; no character keeps another value of it.
    range_->changeStyles([&](CellStyle& style) {
      applyTo(style.font);
      for (FontRun& run : style.runs) {
        if (change.name) run.name.reset();
        if (change.size) run.size.reset();
        if (change.bold) run.bold.reset();
        if (change.italic) run.italic.reset();
      }
      std::erase_if(style.runs, [](const FontRun& r) { return !r.name && !r.size && !r.bold && !r.italic; });
    });
    return;
  }
  auto& sheet = *characters_->sheet();
  auto book = sheet.book(true);
  const int32_t count = characters_->length();
  if (count == 0) return;
  CellStore& cells = sheet.cells();
  CellStyle style = book->styles().at(cells.styleAt(characters_->row(), characters_->column()));
  style.runs.push_back(FontRun{characters_->start(), count, change.name, change.size, change.bold, change.italic});
  cells.setStyle(characters_->row(), characters_->column(), book->styles().intern(style));
}

Variant MemoryFont::Name() {
  return read([](const FontSpec& f) { return Variant(f.name); });
}

void MemoryFont::setName(const std::string& name) {
  if (name.empty()) throw unableToSet("Name", "Font");
  apply(Change{.name = name});
}

Variant MemoryFont::FontStyle() {
  return read([](const FontSpec& f) { return Variant(styleName(f.bold, f.italic)); });
}

void MemoryFont::setFontStyle(const std::string& style) {
  for (bool bold : {false, true})
    for (bool italic : {false, true})
      if (automation::equalsNoCase(style, styleName(bold, italic))) return apply(Change{.bold = bold, .italic = italic});
  throw unableToSet("FontStyle", "Font");
}

Variant MemoryFont::Bold() {
  return read([](const FontSpec& f) { return Variant(f.bold); });
}

void MemoryFont::setBold(bool bold) { apply(Change{.bold = bold}); }

Variant MemoryFont::Italic() {
  return read([](const FontSpec& f) { return Variant(f.italic); });
}

void MemoryFont::setItalic(bool italic) { apply(Change{.italic = italic}); }

Variant MemoryFont::Size() {
  return read([](const FontSpec& f) { return Variant(f.size); });
}

void MemoryFont::setSize(double size) {
  // Excel's font sizes run from 1 to 409 points.
  if (!(size >= 1 && size <= 409)) throw unableToSet("Size", "Font");
  apply(Change{.size = size});
}

}  // namespace office::excel
