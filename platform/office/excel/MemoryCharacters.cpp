#include "office/excel/MemoryCharacters.h"

#include <algorithm>

#include "automation/Conversions.h"
#include "office/excel/MemoryFont.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"

namespace office::excel {

int32_t characterCount(const std::string& text) {
  return static_cast<int32_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

size_t byteOffset(const std::string& text, int32_t character) {
  size_t i = 0;
  for (int32_t seen = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (seen++ == character) return i;
  }
  return text.size();
}

MemoryCharacters::MemoryCharacters(std::shared_ptr<MemoryWorksheet> sheet, int32_t row, int32_t column,
                                   int32_t start, std::optional<int32_t> length)
    : sheet_(std::move(sheet)), row_(row), column_(column), start_(start), length_(length) {}

std::string MemoryCharacters::cellText() const {
  const automation::Variant value = sheet_->value(row_, column_);
  return value.isEmpty() ? std::string() : automation::CStr(value);
}

int32_t MemoryCharacters::length() {
  const int32_t available = std::max(0, characterCount(cellText()) - start_ + 1);
  return length_ ? std::min(*length_, available) : available;
}

std::string MemoryCharacters::Text() {
  sheet_->book();
  const std::string text = cellText();
  const size_t from = byteOffset(text, start_ - 1);
  const size_t to = byteOffset(text, start_ - 1 + length());
  return text.substr(from, to - from);
}

void MemoryCharacters::setText(const std::string& replacement) {
  sheet_->book(true);
  std::string text = cellText();
  const size_t from = byteOffset(text, start_ - 1);
  const size_t to = byteOffset(text, start_ - 1 + length());
  text.replace(from, to - from, replacement);
  // The cell keeps its character fonts: the replaced run's positions now hold the new text.
  sheet_->cells().setValue(row_, column_, automation::Variant(std::move(text)));
  length_ = characterCount(replacement);
}

int32_t MemoryCharacters::Count() {
  sheet_->book();
  return length();
}

std::shared_ptr<excel::Font> MemoryCharacters::Font() {
  sheet_->book();
  return std::make_shared<MemoryFont>(std::static_pointer_cast<MemoryCharacters>(shared_from_this()));
}

}  // namespace office::excel
