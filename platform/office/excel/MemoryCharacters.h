#pragma once
// Characters of one cell of an in-memory worksheet. Positions count characters (UTF-8 code
// points), 1-based; a run that reaches past the text ends with it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "office/excel/Characters.h"

namespace office::excel {

class MemoryWorksheet;

class MemoryCharacters final : public Characters {
 public:
  MemoryCharacters(std::shared_ptr<MemoryWorksheet> sheet, int32_t row, int32_t column, int32_t start,
                   std::optional<int32_t> length);

  std::string Text() override;
  void setText(const std::string& text) override;
  int32_t Count() override;
  std::shared_ptr<excel::Font> Font() override;

  // --- between the in-memory objects ---
  const std::shared_ptr<MemoryWorksheet>& sheet() const { return sheet_; }
  int32_t row() const { return row_; }
  int32_t column() const { return column_; }
  int32_t start() const { return start_; }
  // The characters the run covers in the cell's current text: first position and how many.
  int32_t length();
  // The cell's text as Characters sees it.
  std::string cellText() const;

 private:
  std::shared_ptr<MemoryWorksheet> sheet_;
  int32_t row_, column_, start_;
  std::optional<int32_t> length_;
};

// Characters (code points) in UTF-8 text, and the byte offset of the n-th (0-based) one.
int32_t characterCount(const std::string& text);
size_t byteOffset(const std::string& text, int32_t character);

}  // namespace office::excel
