#include "office/excel/WorkbookSaver.h"

#include <fmt/format.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "automation/Error.h"
#include "automation/Object.h"
#include "office/ControlStatePart.h"
#include "office/MetafileRenderer.h"
#include "office/Picture.h"
#include "office/excel/A1Reference.h"
#include "office/excel/Constants.h"
#include "office/excel/MemoryChart.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/SheetNumbers.h"

namespace office::excel {

namespace {

constexpr const char* kSource = "Microsoft Excel";
constexpr int32_t kSaveError = 1004;
constexpr const char* kSymbolFont = "Symbol";
// The format a date gets when its cell has none: a General cell shows a date this way.
constexpr const char* kDefaultDateFormat = "m/d/yyyy h:mm";
// Excel keeps at most this many characters in a cell.
constexpr size_t kMaxCellCharacters = 32767;

[[noreturn]] void saveFailed(std::string description) {
  throw automation::Error(kSaveError, std::move(description), kSource);
}

void check(lxw_error error, const char* doing) {
  if (error != LXW_NO_ERROR) saveFailed(fmt::format("The workbook could not be saved: {} ({})", doing, lxw_strerror(error)));
}

std::string cellName(const MemoryWorksheet& sheet, int32_t row, int32_t column) {
  return fmt::format("'{}'!{}{}", sheet.sheetName(), columnLetters(column), row);
}

// What the Symbol font draws for the ASCII characters it redefines: the Greek alphabet on the
// letters and a few mathematical signs on punctuation. Everything else it draws as usual.
std::string_view symbolGlyph(char c) {
  static constexpr std::string_view kLower[26] = {"α", "β", "χ", "δ", "ε", "φ", "γ", "η", "ι", "ϕ", "κ", "λ", "μ",
                                                  "ν", "ο", "π", "θ", "ρ", "σ", "τ", "υ", "ϖ", "ω", "ξ", "ψ", "ζ"};
  static constexpr std::string_view kUpper[26] = {"Α", "Β", "Χ", "Δ", "Ε", "Φ", "Γ", "Η", "Ι", "ϑ", "Κ", "Λ", "Μ",
                                                  "Ν", "Ο", "Π", "Θ", "Ρ", "Σ", "Τ", "Υ", "ς", "Ω", "Ξ", "Ψ", "Ζ"};
  if (c >= 'a' && c <= 'z') return kLower[c - 'a'];
  if (c >= 'A' && c <= 'Z') return kUpper[c - 'A'];
  switch (c) {
    case '"': return "∀";
    case '$': return "∃";
    case '\'': return "∋";
    case '*': return "∗";
    case '-': return "−";
    case '@': return "≅";
    case '\\': return "∴";
    case '^': return "⊥";
    case '~': return "∼";
    default: return {};
  }
}

// Dates as Excel counts them: both count days from 30 December 1899 from 1 March 1900 on;
// before that Excel's count includes its 29 February 1900 and is one less. Times of day alone
// (days 0 to 1) are the same in both.
std::optional<double> excelSerial(double days) {
  if (days >= 61 || (days >= 0 && days < 1)) return days;
  if (days >= 2) return days - 1;
  return std::nullopt;
}

uint8_t alignment(int32_t horizontal) {
  switch (horizontal) {
    case xlLeft: return LXW_ALIGN_LEFT;
    case xlCenter: return LXW_ALIGN_CENTER;
    case xlRight: return LXW_ALIGN_RIGHT;
    case xlHAlignFill: return LXW_ALIGN_FILL;
    case xlHAlignJustify: return LXW_ALIGN_JUSTIFY;
    case xlHAlignCenterAcrossSelection: return LXW_ALIGN_CENTER_ACROSS;
    case xlHAlignDistributed: return LXW_ALIGN_DISTRIBUTED;
    default: return LXW_ALIGN_NONE;
  }
}

// The font as saved: text in the Symbol font is saved as Unicode, so it takes the standard font.
FontSpec savedFont(FontSpec font) {
  if (automation::equalsNoCase(font.name, kSymbolFont)) font.name = FontSpec{}.name;
  return font;
}

// One libxlsxwriter format per style (and per style holding a date without a date format), and
// one per font of a rich-string fragment, made on first use.
class Formats {
 public:
  Formats(lxw_workbook* workbook, const StyleTable& styles)
      : workbook_(workbook), styles_(styles), cells_(styles.size(), nullptr), made_(styles.size(), false) {}

  lxw_format* cell(StyleTable::Index index) {
    if (index >= cells_.size()) return make(styles_.at(index), false);
    if (!made_[index]) {
      cells_[index] = index == StyleTable::kDefault ? nullptr : make(styles_.at(index), false);
      made_[index] = true;
    }
    return cells_[index];
  }

  // The index of a style's cell format in the package, for cells written beside the writer.
  int32_t xfIndex(StyleTable::Index index) {
    if (index >= xfIndexes_.size()) xfIndexes_.resize(index + 1, -1);
    int32_t& xf = xfIndexes_[index];
    if (xf < 0) {
      lxw_format* format = cell(index);
      xf = format ? lxw_format_get_xf_index(format) : 0;
    }
    return xf;
  }
  // The same once the package is written, for a style xfIndex has seen.
  int32_t writtenXfIndex(StyleTable::Index index) const { return xfIndexes_.at(index); }

  lxw_format* date(StyleTable::Index index) {
    const CellStyle& style = styles_.at(index);
    if (style.numberFormat != "General") return cell(index);
    auto [at, added] = dates_.try_emplace(index, nullptr);
    if (added) at->second = make(style, true);
    return at->second;
  }

  lxw_format* font(const FontSpec& wanted) {
    if (wanted == FontSpec{}) return nullptr;
    auto [at, added] = fonts_.try_emplace(wanted, nullptr);
    if (added) {
      at->second = workbook_add_format(workbook_);
      setFont(at->second, wanted);
    }
    return at->second;
  }

 private:
  lxw_format* make(const CellStyle& style, bool date) {
    lxw_format* format = workbook_add_format(workbook_);
    if (date) format_set_num_format(format, kDefaultDateFormat);
    else if (style.numberFormat != "General") format_set_num_format(format, style.numberFormat.c_str());
    if (const uint8_t align = alignment(style.horizontalAlignment); align != LXW_ALIGN_NONE)
      format_set_align(format, align);
    setFont(format, savedFont(style.font));
    return format;
  }

  static void setFont(lxw_format* format, const FontSpec& font) {
    const FontSpec standard;
    if (font.name != standard.name) format_set_font_name(format, font.name.c_str());
    if (font.size != standard.size) format_set_font_size(format, font.size);
    if (font.bold) format_set_bold(format);
    if (font.italic) format_set_italic(format);
  }

  lxw_workbook* workbook_;
  const StyleTable& styles_;
  std::vector<lxw_format*> cells_;
  std::vector<bool> made_;
  std::vector<int32_t> xfIndexes_;
  std::map<StyleTable::Index, lxw_format*> dates_;
  std::map<FontSpec, lxw_format*> fonts_;
};

// Line widths in points of Excel's border weights.
double lineWidth(int32_t weight) {
  switch (weight) {
    case xlHairline: return 0.25;
    case xlMedium: return 1.5;
    case xlThick: return 2.25;
    default: return 0.75;
  }
}

// A palette colour as the writer takes it: its 0 means "no colour", so black has its own value.
lxw_color_t writerColor(int32_t colorIndex) {
  const uint32_t rgb = paletteColor(colorIndex);
  return rgb == 0x000000 ? lxw_color_t{LXW_COLOR_BLACK} : rgb;
}

void setLine(lxw_chart_line& line, const LineFormat& format) {
  if (format.colorIndex != xlColorIndexAutomatic) line.color = writerColor(format.colorIndex);
  line.width = static_cast<float>(lineWidth(format.weight));
  if (format.lineStyle == xlLineStyleNone) line.none = LXW_TRUE;
}

// A title's text as it shows: its Symbol-font characters as the letters they draw.
std::string shownText(const ChartText& title) {
  std::string out;
  int32_t character = 0;
  for (size_t at = 0; at < title.text.size(); ++character) {
    size_t length = 1;
    const auto lead = static_cast<unsigned char>(title.text[at]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    std::string piece = title.text.substr(at, length);
    at += length;
    const auto idx = static_cast<size_t>(character);
    if (length == 1 && idx < title.fonts.size() && title.fonts[idx] &&
        automation::equalsNoCase(title.fonts[idx]->name, kSymbolFont))
      if (const std::string_view glyph = symbolGlyph(piece[0]); !glyph.empty()) piece = glyph;
    out += piece;
  }
  return out;
}

// Excel draws an axis title bold unless its characters are given another style, so a title is
// saved bold when any of its characters shows bold (the writer keeps one font per title).
uint8_t titleIsBold(const ChartText& title) {
  for (const auto& font : title.fonts)
    if (!font || font->bold) return LXW_TRUE;
  return title.fonts.empty();
}

std::string numberFormatAt(const MemoryWorksheet& sheet, int32_t row, int32_t column) {
  return sheet.book()->styles().at(sheet.cells().styleAt(row, column)).numberFormat;
}

// Excel leaves a cell out of a line or XY chart only when it holds #N/A; any other error value
// (a #NUM! where the analyzer sent a NaN) it draws as zero, a spike that was never measured.
// An XY series therefore names its rows around such cells, as a union of ranges, "(S!$B$2:$B$4,
// S!$B$6:$B$9)", which Excel plots as one series. The union must stay within the 255 characters
// Excel takes for a series reference; a trace with more gaps than that keeps its whole range.
constexpr size_t kMaxSeriesReference = 255;

struct SeriesReferences {
  std::string x, values;
};

std::optional<SeriesReferences> referencesAroundErrors(const MemoryWorksheet& sheet, const Area& values,
                                                       const Area& x) {
  std::vector<std::pair<int32_t, int32_t>> runs;  // rows that hold no error value, first to last
  sheet.readCells([&](const CellStore& cells) {
    for (int32_t row = values.row1; row <= values.row2; ++row) {
      if (cells.get(row, values.column1).value.varType() == automation::vbError) continue;
      if (!runs.empty() && runs.back().second == row - 1) runs.back().second = row;
      else runs.emplace_back(row, row);
    }
  });
  // No gap, or nothing but gaps (a series of no rows is no reference at all).
  if (runs.empty() || runs.front() == std::pair{values.row1, values.row2}) return std::nullopt;
  const auto reference = [&](const Area& column, int32_t offset) {
    std::string out;
    for (const auto& [first, last] : runs) {
      char area[LXW_MAX_FORMULA_RANGE_LENGTH];
      const auto c = static_cast<lxw_col_t>(column.column1 - 1);
      lxw_rowcol_to_formula_abs(area, sheet.sheetName().c_str(), static_cast<lxw_row_t>(first - 1 + offset), c,
                                static_cast<lxw_row_t>(last - 1 + offset), c);
      out += (out.empty() ? "" : ",") + std::string(area);
    }
    return runs.size() > 1 ? "(" + out + ")" : out;
  };
  SeriesReferences references{reference(x, x.row1 - values.row1), reference(values, 0)};
  if (references.values.size() > kMaxSeriesReference || references.x.size() > kMaxSeriesReference) return std::nullopt;
  return references;
}

// The chart as Excel shows it: an XY chart with straight lines over its source columns.
lxw_chart* writeChart(lxw_workbook* book, const MemoryChart& chart) {
  // Excel draws series without x values against their point numbers 1..N. The writer's XY chart
  // needs x values, so such a chart is saved as the line chart that drawing amounts to.
  const bool pointNumbers = !chart.series().empty() && !chart.series().front()->xValues();
  lxw_chart* out = workbook_add_chart(book, pointNumbers ? LXW_CHART_LINE : LXW_CHART_SCATTER_STRAIGHT);
  if (!out) saveFailed("The workbook could not be saved: a chart");
  const auto source = chart.sourceSheet();
  for (const auto& series : chart.series()) {
    const Area& v = series->values();
    const Area x = series->xValues().value_or(v);
    // A line chart draws its points at their numbers: leaving one out would move the rest.
    const std::optional<SeriesReferences> around =
        source && !pointNumbers ? referencesAroundErrors(*source, v, x) : std::nullopt;
    lxw_chart_series* line =
        around ? chart_add_series(out, around->x.c_str(), around->values.c_str()) : chart_add_series(out, nullptr, nullptr);
    if (source) {
      const std::string& name = source->sheetName();
      if (!pointNumbers && !around)
        chart_series_set_categories(line, name.c_str(), x.row1 - 1, x.column1 - 1, x.row2 - 1, x.column1 - 1);
      if (!around) chart_series_set_values(line, name.c_str(), v.row1 - 1, v.column1 - 1, v.row2 - 1, v.column1 - 1);
      // No copy of the values in the chart: applications draw it from the cells.
      line->categories->ignore_cache = LXW_TRUE;
      line->values->ignore_cache = LXW_TRUE;
    }
    if (pointNumbers) chart_series_set_marker_type(line, LXW_CHART_MARKER_NONE);
    lxw_chart_line format{};
    setLine(format, *series->line());
    chart_series_set_line(line, &format);
  }
  if (chart.HasTitle()) chart_title_set_name(out, shownText(*chart.title()).c_str());
  else chart_title_off(out);
  if (!chart.HasLegend()) chart_legend_set_position(out, LXW_CHART_LEGEND_NONE);
  for (const int32_t type : {int32_t{xlCategory}, int32_t{xlValue}}) {
    const MemoryAxis& axis = chart.axis(type);
    lxw_chart_axis* out_axis = type == xlCategory ? out->x_axis : out->y_axis;
    if (axis.HasTitle()) {
      chart_axis_set_name(out_axis, shownText(*axis.title()).c_str());
      lxw_chart_font font{};
      font.bold = titleIsBold(*axis.title());
      chart_axis_set_name_font(out_axis, &font);
    }
    chart_axis_major_gridlines_set_visible(out_axis, axis.HasMajorGridlines());
    lxw_chart_line grid{};
    setLine(grid, *axis.majorGridlines()->line());
    if (axis.HasMajorGridlines()) chart_axis_major_gridlines_set_line(out_axis, &grid);
    if (axis.minimum()) chart_axis_set_min(out_axis, *axis.minimum());
    if (axis.maximum()) chart_axis_set_max(out_axis, *axis.maximum());
    if (axis.ScaleType() == xlScaleLogarithmic) chart_axis_set_log_base(out_axis, 10);
    // A crossing at the axis's own minimum is saved as such: an application that chooses
    // another automatic minimum would otherwise draw the other axis inside the plot.
    if (axis.crossesAt() && *axis.crossesAt() == axis.MinimumScale()) chart_axis_set_crossing_min(out_axis);
    else if (axis.crossesAt()) chart_axis_set_crossing(out_axis, *axis.crossesAt());
    if (source && !chart.series().empty() && !(type == xlCategory && pointNumbers)) {
      // Tick labels as the axis's source column shows its values.
      const MemorySeries& first = *chart.series().front();
      const Area from = type == xlCategory ? *first.xValues() : first.values();
      const std::string format = numberFormatAt(*source, from.row1, from.column1);
      if (format != "General") chart_axis_set_num_format(out_axis, format.c_str());
    }
  }
  lxw_chart_line border{};
  setLine(border, *chart.plotArea()->line());
  chart_plotarea_set_line(out, &border);
  const FillFormat& fill = *chart.plotArea()->fill();
  if (fill.colorIndex != xlColorIndexAutomatic) {
    lxw_chart_fill area{};
    area.color = writerColor(fill.colorIndex);
    chart_plotarea_set_fill(out, &area);
  }
  return out;
}

// The text of an error value, as a cell shows it.
std::string errorText(int32_t number) {
  switch (number) {
    case 2000: return "#NULL!";
    case 2007: return "#DIV/0!";
    case 2015: return "#VALUE!";
    case 2023: return "#REF!";
    case 2029: return "#NAME?";
    case xlErrNum: return "#NUM!";
    case 2042: return "#N/A";
    default: return "#VALUE!";
  }
}

class SheetWriter {
 public:
  SheetWriter(lxw_workbook* book, lxw_worksheet* out, const MemoryWorksheet& sheet, Formats& formats)
      : book_(book), out_(out), sheet_(sheet), formats_(formats), styles_(sheet.book()->styles()) {}

  void write() {
    sheet_.readCells([this](const CellStore& cells) {
      writeColumns(cells);
      cells.forEachUsed([this](int32_t row, int32_t column, const Cell& cell) { writeCell(row, column, cell); });
    });
    writePictures();
    const Area& selected = sheet_.selection();
    if (selected.row1 != 1 || selected.column1 != 1 || selected.row2 != 1 || selected.column2 != 1)
      worksheet_set_selection(out_, selected.row1 - 1, selected.column1 - 1, selected.row2 - 1, selected.column2 - 1);
  }

 private:
  void writeColumns(const CellStore& cells) {
    std::map<int32_t, StyleTable::Index> columns;
    for (const auto& [column, width] : sheet_.columnWidths()) columns.emplace(column, StyleTable::kDefault);
    for (const auto& [column, style] : cells.columnStyles()) columns[column] = style;
    for (const auto& [column, style] : columns) {
      const auto c = static_cast<lxw_col_t>(column - 1);
      check(worksheet_set_column(out_, c, c, sheet_.columnWidth(column), formats_.cell(style)), "a column");
    }
  }

  void writeCell(int32_t row, int32_t column, const Cell& cell) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    const automation::Variant& value = cell.value;
    switch (value.varType()) {
      case automation::vbEmpty:
        check(worksheet_write_blank(out_, r, c, formats_.cell(cell.style)), "a cell");
        return;
      case automation::vbDouble: {
        const double number = value.asDouble();
        if (!std::isfinite(number))
          saveFailed(fmt::format("The value of {} is {}, which a workbook file cannot hold",
                                 cellName(sheet_, row, column), std::isnan(number) ? "not a number" : "infinite"));
        formats_.xfIndex(cell.style);  // the number itself comes with SheetNumbers
        return;
      }
      case automation::vbBoolean:
        check(worksheet_write_boolean(out_, r, c, value.asBoolean(), formats_.cell(cell.style)), "a boolean");
        return;
      case automation::vbDate: {
        const std::optional<double> serial = excelSerial(value.asDate().serial());
        if (!serial)
          saveFailed(fmt::format("The date {} of {} lies before 1900, which a workbook file cannot hold",
                                 value.asDate().toString(), cellName(sheet_, row, column)));
        check(worksheet_write_number(out_, r, c, *serial, formats_.date(cell.style)), "a date");
        return;
      }
      case automation::vbString:
        writeText(row, column, value.asString(), cell.style);
        return;
      case automation::vbError: {
        // The file format's own error cells are beyond the library that writes it; a formula
        // that is the error value shows and calculates the same in every spreadsheet program.
        const std::string error = errorText(value.asError());
        check(worksheet_write_formula_str(out_, r, c, error.c_str(), formats_.cell(cell.style), error.c_str()),
              "an error value");
        return;
      }
      default:
        saveFailed(fmt::format("{} holds a value of type {}, which a workbook file cannot hold",
                               cellName(sheet_, row, column), automation::TypeName(value)));
    }
  }

  void writeText(int32_t row, int32_t column, const std::string& text, StyleTable::Index styleIndex) {
    const auto r = static_cast<lxw_row_t>(row - 1);
    const auto c = static_cast<lxw_col_t>(column - 1);
    const CellStyle& style = styles_.at(styleIndex);
    lxw_format* format = formats_.cell(styleIndex);
    const bool symbols = automation::equalsNoCase(style.font.name, kSymbolFont);
    if (!style.hasCharacterFonts() && !symbols) {
      checkLength(text, row, column);
      check(worksheet_write_string(out_, r, c, text.c_str(), format), "a text");
      return;
    }

    // Split the text into runs of one font, Symbol characters turned into what they show.
    struct Fragment {
      FontSpec font;
      std::string text;
    };
    std::vector<Fragment> fragments;
    int32_t character = 0;
    for (size_t at = 0; at < text.size();) {
      size_t length = 1;
      const auto lead = static_cast<unsigned char>(text[at]);
      if (lead >= 0xF0) length = 4;
      else if (lead >= 0xE0) length = 3;
      else if (lead >= 0xC0) length = 2;
      std::string piece = text.substr(at, length);
      at += length;
      FontSpec font = style.fontAt(++character);
      if (automation::equalsNoCase(font.name, kSymbolFont)) {
        if (length == 1)
          if (const std::string_view glyph = symbolGlyph(piece[0]); !glyph.empty()) piece = glyph;
        font = savedFont(font);
      }
      if (fragments.empty() || !(fragments.back().font == font)) fragments.push_back({font, {}});
      fragments.back().text += piece;
    }
    std::string whole;
    for (const Fragment& f : fragments) whole += f.text;
    checkLength(whole, row, column);

    if (fragments.size() <= 1) {
      check(worksheet_write_string(out_, r, c, whole.c_str(), format), "a text");
      return;
    }
    std::vector<lxw_rich_string_tuple> tuples(fragments.size());
    std::vector<lxw_rich_string_tuple*> list;
    for (size_t i = 0; i < fragments.size(); ++i) {
      tuples[i].format = formats_.font(fragments[i].font);
      tuples[i].string = fragments[i].text.data();
      list.push_back(&tuples[i]);
    }
    list.push_back(nullptr);
    check(worksheet_write_rich_string(out_, r, c, list.data(), format), "a formatted text");
  }

  void checkLength(const std::string& text, int32_t row, int32_t column) const {
    size_t characters = 0;
    for (const char ch : text) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    if (characters > kMaxCellCharacters)
      saveFailed(fmt::format("The text of {} has {} characters; a workbook file holds at most {} in a cell",
                             cellName(sheet_, row, column), characters, kMaxCellCharacters));
  }

  void writePictures() {
    for (const std::shared_ptr<MemoryShape>& shape : sheet_.shapes()) {
      if (shape->chart()) {
        int32_t column = 1, row = 1;
        while (column < kMaxColumns && sheet_.columnLeft(column + 1) <= shape->Left()) ++column;
        while (row < kMaxRows && sheet_.rowTop(row + 1) <= shape->Top()) ++row;
        lxw_chart_options options{};
        options.x_offset = static_cast<int32_t>(std::lround((shape->Left() - sheet_.columnLeft(column)) * 4 / 3));
        options.y_offset = static_cast<int32_t>(std::lround((shape->Top() - sheet_.rowTop(row)) * 4 / 3));
        options.x_scale = shape->Width() / 360.0;
        options.y_scale = shape->Height() / 216.0;
        check(worksheet_insert_chart_opt(out_, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1),
                                         writeChart(book_, *shape->chart()), &options),
              "a chart");
        continue;
      }
      if (shape->Type() != msoPicture || !shape->picture()) continue;
      const std::vector<uint8_t>* bytes = &shape->picture()->bytes;
      std::optional<std::vector<uint8_t>> played;
      if (isWindowsMetafile(*bytes)) {
        // Played into pixels at the size the picture has on the sheet.
        played = renderMetafileAsPng(*bytes, static_cast<int>(std::lround(shape->Width() * 4 / 3)),
                                     static_cast<int>(std::lround(shape->Height() * 4 / 3)));
        if (!played) continue;
        bytes = &*played;
      }
      const std::optional<ImageInfo> image = embeddableImage(*bytes);
      if (!image) continue;  // an enhanced metafile, or a file no reader would know
      // The cell under the picture's top-left corner, and the offset within it in pixels.
      int32_t column = 1, row = 1;
      while (column < kMaxColumns && sheet_.columnLeft(column + 1) <= shape->Left()) ++column;
      while (row < kMaxRows && sheet_.rowTop(row + 1) <= shape->Top()) ++row;
      lxw_image_options options{};
      options.x_offset = static_cast<int32_t>(std::lround((shape->Left() - sheet_.columnLeft(column)) * 4 / 3));
      options.y_offset = static_cast<int32_t>(std::lround((shape->Top() - sheet_.rowTop(row)) * 4 / 3));
      // The writer sizes a picture by its pixels at its resolution; scale that to the shape.
      options.x_scale = shape->Width() * 4 / 3 / (image->width * 96 / image->xDpi);
      options.y_scale = shape->Height() * 4 / 3 / (image->height * 96 / image->yDpi);
      const std::string description = shape->Name();
      options.description = const_cast<char*>(description.c_str());
      check(worksheet_insert_image_buffer_opt(out_, static_cast<lxw_row_t>(row - 1), static_cast<lxw_col_t>(column - 1),
                                              bytes->data(), bytes->size(), &options),
            "a picture");
    }
  }

  lxw_workbook* book_;
  lxw_worksheet* out_;
  const MemoryWorksheet& sheet_;
  Formats& formats_;
  const StyleTable& styles_;
};

// The workbook being written; freed without writing when the save stops early.
class Writer {
 public:
  explicit Writer(const std::string& fileName) {
    book_ = workbook_new(fileName.c_str());
    if (!book_) saveFailed("The workbook could not be saved: the writer could not start");
  }
  ~Writer() {
    if (book_) lxw_workbook_free(book_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  lxw_workbook* get() const { return book_; }
  lxw_error close() {
    lxw_workbook* book = book_;
    book_ = nullptr;
    return workbook_close(book);
  }

 private:
  lxw_workbook* book_ = nullptr;
};

}  // namespace

void WorkbookSaver::save(const std::filesystem::path& path, const automation::PropertyBag* controlState) const {
  workbook_.requireOpen();
  std::filesystem::path temporary = path;
  temporary += fmt::format(".~{}.tmp", ::getpid());
  std::error_code ignored;
  try {
    Writer writer(temporary.string());
    Formats formats(writer.get(), workbook_.styles());
    std::vector<SheetNumbers::Source> numbers;
    const auto active = workbook_.activeSheet();
    for (const std::shared_ptr<MemorySheet>& sheet : workbook_.sheets()) {
      const auto* worksheet = dynamic_cast<const MemoryWorksheet*>(sheet.get());
      if (const auto* chart = dynamic_cast<const MemoryChart*>(sheet.get())) {
        lxw_chartsheet* out = workbook_add_chartsheet(writer.get(), chart->sheetName().c_str());
        if (!out) saveFailed(fmt::format("The sheet name '{}' cannot be saved", chart->sheetName()));
        check(chartsheet_set_chart(out, writeChart(writer.get(), *chart)), "a chart sheet");
        if (sheet == active) chartsheet_activate(out);
        continue;
      }
      if (!worksheet) continue;
      lxw_worksheet* out = workbook_add_worksheet(writer.get(), worksheet->sheetName().c_str());
      if (!out) saveFailed(fmt::format("The sheet name '{}' cannot be saved", worksheet->sheetName()));
      SheetWriter(writer.get(), out, *worksheet, formats).write();
      if (sheet == active) worksheet_activate(out);
      numbers.push_back([worksheet, &formats](const SheetNumbers::Visit& visit) {
        worksheet->readCells([&](const CellStore& cells) {
          cells.forEachUsedByRow([&](int32_t row, int32_t column, const Cell& cell) {
            // Only finite numbers: anything else a cell holds was written above.
            if (cell.value.varType() == automation::vbDouble && std::isfinite(cell.value.asDouble()))
              visit(row, column, cell.value.asDouble(), formats.writtenXfIndex(cell.style));
          });
        });
      });
    }
    if (workbook_.sheets().empty()) saveFailed("A workbook must contain at least one visible worksheet");
    const lxw_error closed = writer.close();
    if (closed != LXW_NO_ERROR)
      saveFailed(fmt::format("The workbook could not be saved to '{}': {}", path.string(), lxw_strerror(closed)));
    SheetNumbers::addTo(temporary, numbers);
    if (controlState) ControlStatePart::write(temporary, controlState->toBytes());
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed)
      saveFailed(fmt::format("The workbook could not be saved to '{}': {}", path.string(), renamed.message()));
  } catch (...) {
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

}  // namespace office::excel
