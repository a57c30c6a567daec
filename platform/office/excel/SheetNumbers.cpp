#include "office/excel/SheetNumbers.h"

#include <fmt/format.h>
#include <libdeflate.h>
#include <zip.h>

#include <algorithm>
#include <charconv>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>

#include "automation/Error.h"
#include "office/excel/A1Reference.h"

namespace office::excel {

namespace {

constexpr int32_t kSaveError = 1004;
constexpr const char* kSource = "Microsoft Excel";
// Fast rather than small: the parts are mostly digits, which compress well at any level.
constexpr int kCompressionLevel = 1;

[[noreturn]] void saveFailed(const std::filesystem::path& package, const std::string& why) {
  throw automation::Error(kSaveError, fmt::format("The workbook could not be saved to '{}': {}", package.string(), why),
                          kSource);
}

int32_t columnOf(std::string_view reference) {
  int32_t column = 0;
  for (const char c : reference) {
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + (c - 'A' + 1);
  }
  return column;
}

int32_t numberAfter(std::string_view text, std::string_view key) {
  const size_t at = text.find(key);
  if (at == std::string_view::npos) return 0;
  int32_t value = 0;
  std::from_chars(text.data() + at + key.size(), text.data() + text.size(), value);
  return value;
}

// A cell libxlsxwriter wrote, and the row holding it.
struct WrittenCell {
  int32_t column;
  std::string_view xml;
};
struct WrittenRow {
  int32_t row;
  std::string attributes;  // of the row element, without the span hint the merge would falsify
  std::vector<WrittenCell> cells;
};

std::vector<WrittenRow> writtenRows(std::string_view data) {
  std::vector<WrittenRow> rows;
  for (size_t at = data.find("<row"); at != std::string_view::npos; at = data.find("<row", at)) {
    const size_t tagEnd = data.find('>', at);
    const bool closed = data[tagEnd - 1] == '/';
    std::string_view attributes = data.substr(at + 4, tagEnd - at - 4 - (closed ? 1 : 0));
    WrittenRow row{numberAfter(attributes, " r=\""), std::string(attributes), {}};
    if (const size_t spans = row.attributes.find(" spans=\""); spans != std::string::npos)
      row.attributes.erase(spans, row.attributes.find('"', spans + 8) + 1 - spans);
    at = tagEnd + 1;
    if (!closed) {
      const size_t rowEnd = data.find("</row>", at);
      for (size_t c = data.find("<c ", at); c < rowEnd; c = data.find("<c ", c)) {
        const size_t open = data.find('>', c);
        const size_t end = data[open - 1] == '/' ? open + 1 : data.find("</c>", open) + 4;
        row.cells.push_back({columnOf(data.substr(data.find("r=\"", c) + 3)), data.substr(c, end - c)});
        c = end;
      }
      at = rowEnd + 6;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

// Builds the part: what comes before the sheetData element, the written rows with the numbers
// merged in by row and column, what comes after. All in one buffer, which grows to megabytes.
class Merger {
 public:
  Merger(std::string_view head, std::vector<WrittenRow> rows) : rows_(std::move(rows)) {
    out_ = head;
    out_ += "<sheetData>";
  }

  void number(int32_t row, int32_t column, double value, int32_t format) {
    if (row != row_) {
      finishRow();
      while (next_ < rows_.size() && rows_[next_].row < row) writeRow(rows_[next_++]);
      startRow(row);
    }
    writtenBefore(column);
    out_ += "<c r=\"";
    out_ += letters(column);
    appendNumber(row);
    out_ += '"';
    if (format != 0) {
      out_ += " s=\"";
      appendNumber(format);
      out_ += '"';
    }
    out_ += "><v>";
    char text[32];
    out_.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    out_ += "</v></c>";
    extend(row, column);
  }

  // The whole part, its dimension widened to every cell.
  std::string finish(std::string_view tail) {
    finishRow();
    while (next_ < rows_.size()) writeRow(rows_[next_++]);
    out_ += "</sheetData>";
    out_ += tail;
    const size_t at = out_.find("<dimension ref=\"");
    if (at != std::string::npos && lastRow_ > 0) {
      const size_t from = at + 16;
      out_.replace(from, out_.find('"', from) - from,
                   fmt::format("{}{}:{}{}", columnLetters(firstColumn_), firstRow_, columnLetters(lastColumn_), lastRow_));
    }
    return std::move(out_);
  }

 private:
  void startRow(int32_t row) {
    row_ = row;
    current_ = next_ < rows_.size() && rows_[next_].row == row ? &rows_[next_++] : nullptr;
    cell_ = 0;
    if (current_) {
      out_ += "<row" + current_->attributes + ">";
    } else {
      out_ += "<row r=\"";
      appendNumber(row);
      out_ += "\">";
    }
  }

  void writtenBefore(int32_t column) {
    if (!current_) return;
    for (; cell_ < current_->cells.size() && current_->cells[cell_].column < column; ++cell_)
      writeCell(current_->row, current_->cells[cell_]);
  }

  void finishRow() {
    if (row_ == 0) return;
    writtenBefore(kMaxColumns + 1);
    out_ += "</row>";
    row_ = 0;
  }

  void writeRow(const WrittenRow& row) {
    out_ += "<row" + row.attributes + ">";
    for (const WrittenCell& cell : row.cells) writeCell(row.row, cell);
    out_ += "</row>";
  }

  void writeCell(int32_t row, const WrittenCell& cell) {
    out_ += cell.xml;
    extend(row, cell.column);
  }

  void extend(int32_t row, int32_t column) {
    if (lastRow_ == 0) {
      firstRow_ = lastRow_ = row;
      firstColumn_ = lastColumn_ = column;
      return;
    }
    firstRow_ = std::min(firstRow_, row);
    lastRow_ = std::max(lastRow_, row);
    firstColumn_ = std::min(firstColumn_, column);
    lastColumn_ = std::max(lastColumn_, column);
  }

  const std::string& letters(int32_t column) {
    if (static_cast<size_t>(column) >= letters_.size()) letters_.resize(static_cast<size_t>(column) + 1);
    std::string& cached = letters_[static_cast<size_t>(column)];
    if (cached.empty()) cached = columnLetters(column);
    return cached;
  }

  void appendNumber(int32_t n) {
    char text[16];
    out_.append(text, std::to_chars(text, text + sizeof text, n).ptr);
  }

  std::vector<WrittenRow> rows_;
  size_t next_ = 0;
  int32_t row_ = 0;
  const WrittenRow* current_ = nullptr;
  size_t cell_ = 0;
  std::string out_;
  std::vector<std::string> letters_;
  int32_t firstRow_ = 0, lastRow_ = 0, firstColumn_ = 0, lastColumn_ = 0;
};

// A worksheet part made, and compressed, when libzip comes to write it, and dropped once
// written. libzip copies it as it comes: compressed data it is told the sizes and checksum of is
// not compressed again.
class LazyPart {
 public:
  LazyPart(std::string written, const SheetNumbers::Source& numbers, libdeflate_compressor* compressor)
      : written_(std::move(written)), numbers_(numbers), compressor_(compressor) {}

  static zip_int64_t callback(void* self, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    return static_cast<LazyPart*>(self)->handle(data, length, command);
  }
  std::exception_ptr failure() const { return failure_; }

 private:
  zip_int64_t handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
    try {
      switch (command) {
        case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
        case ZIP_SOURCE_STAT: {
          if (!made_) make();
          auto* stat = static_cast<zip_stat_t*>(data);
          zip_stat_init(stat);
          stat->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC;
          stat->size = size_;
          stat->comp_size = compressedSize_;
          stat->comp_method = ZIP_CM_DEFLATE;
          stat->crc = crc_;
          return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_OPEN:
          if (!made_ || !compressed_) make();
          at_ = 0;
          return 0;
        case ZIP_SOURCE_READ: {
          const size_t n = std::min<size_t>(length, compressedSize_ - at_);
          std::copy_n(compressed_.get() + at_, n, static_cast<char*>(data));
          at_ += n;
          return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_CLOSE: compressed_.reset(); return 0;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&error_, data, length);
        case ZIP_SOURCE_FREE: return 0;
        default: zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0); return -1;
      }
    } catch (...) {
      failure_ = std::current_exception();
      zip_error_set(&error_, ZIP_ER_INTERNAL, 0);
      return -1;
    }
  }

  void make() {
    const std::string part = SheetNumbers::merge(written_, numbers_);
    size_ = part.size();
    crc_ = libdeflate_crc32(0, part.data(), part.size());
    const size_t bound = libdeflate_deflate_compress_bound(compressor_, part.size());
    compressed_ = std::make_unique_for_overwrite<char[]>(bound);
    compressedSize_ = libdeflate_deflate_compress(compressor_, part.data(), part.size(), compressed_.get(), bound);
    if (compressedSize_ == 0) throw std::runtime_error("a worksheet part could not be compressed");
    made_ = true;
  }

  std::string written_;
  const SheetNumbers::Source& numbers_;
  libdeflate_compressor* compressor_;
  std::unique_ptr<char[]> compressed_;
  bool made_ = false;  // the sizes and checksum below are known, even once the data is dropped
  uint64_t size_ = 0, compressedSize_ = 0;
  uint32_t crc_ = 0;
  size_t at_ = 0;
  zip_error_t error_{};
  std::exception_ptr failure_;
};

std::string readPart(zip_t* zip, zip_uint64_t index) {
  zip_stat_t stat;
  if (zip_stat_index(zip, index, 0, &stat) != 0) return {};
  std::string text(stat.size, '\0');
  zip_file_t* file = zip_fopen_index(zip, index, 0);
  if (!file) return {};
  const zip_int64_t got = zip_fread(file, text.data(), text.size());
  zip_fclose(file);
  if (got != static_cast<zip_int64_t>(text.size())) return {};
  return text;
}

}  // namespace

std::string SheetNumbers::merge(std::string_view part, const Source& numbers) {
  const size_t dataAt = part.find("<sheetData");
  const size_t openEnd = part.find('>', dataAt);
  const bool empty = part[openEnd - 1] == '/';
  const size_t dataEnd = empty ? openEnd + 1 : part.find("</sheetData>", openEnd) + 12;
  Merger merger(part.substr(0, dataAt), writtenRows(part.substr(openEnd + 1, dataEnd - openEnd - 1)));
  numbers([&](int32_t row, int32_t column, double value, int32_t format) { merger.number(row, column, value, format); });
  return merger.finish(part.substr(dataEnd));
}

void SheetNumbers::addTo(const std::filesystem::path& package, const std::vector<Source>& sheets) {
  int error = 0;
  zip_t* zip = zip_open(package.c_str(), 0, &error);
  if (!zip) saveFailed(package, "the package could not be opened again");
  std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
      libdeflate_alloc_compressor(kCompressionLevel), &libdeflate_free_compressor);
  std::vector<std::unique_ptr<LazyPart>> parts;
  try {
    if (!compressor) saveFailed(package, "no memory for compressing");
    for (size_t i = 0; i < sheets.size(); ++i) {
      const std::string name = fmt::format("xl/worksheets/sheet{}.xml", i + 1);
      const zip_int64_t index = zip_name_locate(zip, name.c_str(), 0);
      if (index < 0) saveFailed(package, fmt::format("it has no part {}", name));
      parts.push_back(
          std::make_unique<LazyPart>(readPart(zip, static_cast<zip_uint64_t>(index)), sheets[i], compressor.get()));
      zip_source_t* source = zip_source_function(zip, &LazyPart::callback, parts.back().get());
      if (!source || zip_file_replace(zip, static_cast<zip_uint64_t>(index), source, 0) != 0) {
        if (source) zip_source_free(source);
        saveFailed(package, zip_strerror(zip));
      }
    }
  } catch (...) {
    zip_discard(zip);
    throw;
  }
  if (zip_close(zip) != 0) {
    const std::string why = zip_strerror(zip);
    zip_discard(zip);
    for (const auto& part : parts)
      if (part->failure()) std::rethrow_exception(part->failure());
    saveFailed(package, why);
  }
}

}  // namespace office::excel
