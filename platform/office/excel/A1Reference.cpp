#include "office/excel/A1Reference.h"

#include <algorithm>
#include <cctype>

namespace office::excel {
namespace {

bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// One end of a reference: [$]letters[$]digits, [$]letters or [$]digits.
struct Part {
  std::optional<int32_t> column;
  std::optional<int32_t> row;
};

std::optional<int32_t> rowNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 7 || digits[0] == '0') return std::nullopt;
  int32_t row = 0;
  for (char c : digits) {
    if (!isDigit(c)) return std::nullopt;
    row = row * 10 + (c - '0');
  }
  if (row < 1 || row > kMaxRows) return std::nullopt;
  return row;
}

std::optional<Part> parsePart(std::string_view text) {
  Part part;
  size_t i = 0;
  bool dollar = false;
  if (i < text.size() && text[i] == '$') ++i, dollar = true;
  const size_t lettersStart = i;
  while (i < text.size() && isLetter(text[i])) ++i;
  if (i > lettersStart) {
    part.column = columnNumber(text.substr(lettersStart, i - lettersStart));
    if (!part.column) return std::nullopt;
    dollar = false;
    if (i < text.size() && text[i] == '$') ++i, dollar = true;
  }
  const size_t digitsStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  if (i > digitsStart) {
    part.row = rowNumber(text.substr(digitsStart, i - digitsStart));
    if (!part.row) return std::nullopt;
  } else if (dollar) {
    return std::nullopt;  // "$" with nothing after it
  }
  if (!part.row && !part.column) return std::nullopt;
  return part;
}

std::string a1Part(std::optional<int32_t> row, std::optional<int32_t> column, const AddressStyle& style) {
  std::string text;
  if (column) text += (style.columnAbsolute ? "$" : "") + columnLetters(*column);
  if (row) text += (style.rowAbsolute ? "$" : "") + std::to_string(*row);
  return text;
}

std::string r1c1Coordinate(char letter, int32_t value, bool absolute, int32_t relativeTo) {
  if (absolute) return letter + std::to_string(value);
  const int32_t offset = value - relativeTo;
  return offset == 0 ? std::string(1, letter) : letter + ("[" + std::to_string(offset) + "]");
}

std::string r1c1Part(std::optional<int32_t> row, std::optional<int32_t> column, const AddressStyle& style) {
  std::string text;
  if (row) text += r1c1Coordinate('R', *row, style.rowAbsolute, style.relativeRow);
  if (column) text += r1c1Coordinate('C', *column, style.columnAbsolute, style.relativeColumn);
  return text;
}

}  // namespace

Area Area::span(const Area& a, const Area& b) {
  return Area{std::min(a.row1, b.row1), std::min(a.column1, b.column1), std::max(a.row2, b.row2),
              std::max(a.column2, b.column2)};
}

std::optional<int32_t> columnNumber(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return std::nullopt;
  int32_t column = 0;
  for (char c : letters) {
    if (!isLetter(c)) return std::nullopt;
    column = column * 26 + (std::toupper(static_cast<unsigned char>(c)) - 'A' + 1);
  }
  if (column > kMaxColumns) return std::nullopt;
  return column;
}

std::string columnLetters(int32_t column) {
  std::string letters;
  while (column > 0) {
    const int32_t digit = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + digit));
    column = (column - 1) / 26;
  }
  return letters;
}

std::optional<Area> parseA1(std::string_view text) {
  const size_t colon = text.find(':');
  const std::string_view firstText = text.substr(0, colon);
  auto first = parsePart(firstText);
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) {
    // A single reference must name a cell; "B" or "3" alone is no range.
    if (!first->row || !first->column) return std::nullopt;
    return Area{*first->row, *first->column, *first->row, *first->column};
  }
  auto second = parsePart(text.substr(colon + 1));
  if (!second) return std::nullopt;
  const bool firstCell = first->row && first->column;
  const bool secondCell = second->row && second->column;
  Area a, b;
  if (firstCell && secondCell) {
    a = {*first->row, *first->column, *first->row, *first->column};
    b = {*second->row, *second->column, *second->row, *second->column};
  } else if (!first->row && !second->row) {  // "A:C"
    a = {1, *first->column, kMaxRows, *first->column};
    b = {1, *second->column, kMaxRows, *second->column};
  } else if (!first->column && !second->column) {  // "3:5"
    a = {*first->row, 1, *first->row, kMaxColumns};
    b = {*second->row, 1, *second->row, kMaxColumns};
  } else {
    return std::nullopt;  // "A1:C" and the like
  }
  return Area::span(a, b);
}

std::string formatAddress(const Area& area, const AddressStyle& style) {
  const bool r1c1 = style.referenceStyle == xlR1C1;
  auto part = [&](std::optional<int32_t> row, std::optional<int32_t> column) {
    return r1c1 ? r1c1Part(row, column, style) : a1Part(row, column, style);
  };
  if (area.wholeColumns() && !area.wholeRows()) {
    const std::string first = part(std::nullopt, area.column1);
    if (r1c1 && area.column1 == area.column2) return first;
    return first + ":" + part(std::nullopt, area.column2);
  }
  if (area.wholeRows()) {
    const std::string first = part(area.row1, std::nullopt);
    if (r1c1 && area.row1 == area.row2) return first;
    return first + ":" + part(area.row2, std::nullopt);
  }
  const std::string first = part(area.row1, area.column1);
  if (area.row1 == area.row2 && area.column1 == area.column2) return first;
  return first + ":" + part(area.row2, area.column2);
}

std::string quoteSheetName(std::string_view name, std::string_view workbookName) {
  std::string plain = workbookName.empty() ? std::string(name) : "[" + std::string(workbookName) + "]" + std::string(name);
  bool needsQuotes = name.empty() || isDigit(name[0]);
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.') needsQuotes = true;
  // A name that reads as a cell reference ("AB12") needs quotes too.
  if (!needsQuotes && parseA1(name)) needsQuotes = true;
  if (!needsQuotes) return plain;
  std::string quoted = "'";
  for (char c : plain) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

}  // namespace office::excel
