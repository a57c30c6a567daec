#include "office/ControlStatePart.h"

#include <zip.h>

#include <fmt/format.h>

#include <array>
#include <memory>

#include "automation/Error.h"
#include "office/Errors.h"

namespace office {
namespace {

constexpr const char* kFileFormatSource = "ControlStatePart";
constexpr const char* kItemPropsType = "application/vnd.openxmlformats-officedocument.customXmlProperties+xml";
constexpr const char* kCustomXmlRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXml";
constexpr const char* kCustomXmlPropsRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/customXmlProps";
constexpr const char* kOfficeDocumentRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
// The data-store identity of the part; one such part per package.
constexpr const char* kItemId = "{8E5C2B7A-4F13-4D6E-9A21-3C7D5E9F0B14}";
constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

[[noreturn]] void damaged(const std::string& what) {
  throw automation::Error(321, "Invalid file format: " + what, kFileFormatSource);
}

[[noreturn]] void writeFailed(const std::filesystem::path& package, const std::string& what) {
  throw excelError(fmt::format("The control's state could not be saved in '{}': {}", package.string(), what));
}

std::string base64(std::span<const uint8_t> bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = uint32_t{bytes[i]} << 16;
    if (n > 1) v |= uint32_t{bytes[i + 1]} << 8;
    if (n > 2) v |= bytes[i + 2];
    for (size_t k = 0; k < 4; ++k) out += k <= n ? kBase64[(v >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
}

std::vector<uint8_t> unbase64(std::string_view text) {
  std::array<int, 256> value;
  value.fill(-1);
  for (int i = 0; i < 64; ++i) value[static_cast<uint8_t>(kBase64[i])] = i;
  std::string digits;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') digits += c;
  if (digits.size() % 4 != 0) damaged("the control's state is not whole");
  std::vector<uint8_t> out;
  out.reserve(digits.size() / 4 * 3);
  for (size_t i = 0; i < digits.size(); i += 4) {
    uint32_t v = 0;
    int padding = 0;
    for (size_t k = 0; k < 4; ++k) {
      const char c = digits[i + k];
      const bool last = i + 4 == digits.size();
      if (c == '=' && last && k >= 2 && (k == 3 || digits[i + 3] == '=')) {
        ++padding;
        v <<= 6;
        continue;
      }
      const int d = value[static_cast<uint8_t>(c)];
      if (d < 0 || padding > 0) damaged("the control's state holds characters that are not base64");
      v = (v << 6) | static_cast<uint32_t>(d);
    }
    out.push_back(static_cast<uint8_t>(v >> 16));
    if (padding < 2) out.push_back(static_cast<uint8_t>(v >> 8));
    if (padding < 1) out.push_back(static_cast<uint8_t>(v));
  }
  return out;
}

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

// An entry's text, or nothing when the package has no such entry; more than `limit` bytes is
// refused before anything is read.
std::optional<std::string> readEntry(zip_t* zip, zip_uint64_t index, size_t limit) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(zip, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) damaged("an unreadable part");
  if (stat.size > limit) damaged(fmt::format("the part {} claims {} bytes", stat.name, stat.size));
  zip_file_t* file = zip_fopen_index(zip, index, 0);
  if (!file) damaged(fmt::format("the part {} cannot be read", stat.name));
  std::string text(static_cast<size_t>(stat.size), '\0');
  const zip_int64_t got = zip_fread(file, text.data(), stat.size);
  const bool whole = got == static_cast<zip_int64_t>(stat.size);
  zip_fclose(file);
  if (!whole) damaged(fmt::format("the part {} is cut short or damaged", stat.name));
  return text;
}

// Whether the entry's first bytes name the control state's namespace.
bool startsWithControlState(zip_t* zip, zip_uint64_t index) {
  zip_file_t* file = zip_fopen_index(zip, index, 0);
  if (!file) damaged("a custom part cannot be read");
  std::string head(512, '\0');
  const zip_int64_t got = zip_fread(file, head.data(), head.size());
  zip_fclose(file);
  if (got < 0) damaged("a custom part is damaged");
  head.resize(static_cast<size_t>(got));
  return head.find(ControlStatePart::kNamespace) != std::string::npos;
}

std::optional<std::string> readEntry(zip_t* zip, const std::string& name, size_t limit) {
  const zip_int64_t index = zip_name_locate(zip, name.c_str(), 0);
  if (index < 0) return std::nullopt;
  return readEntry(zip, static_cast<zip_uint64_t>(index), limit);
}

// The value of attribute `name` in the tag that starts at `tagStart`.
std::string attribute(const std::string& xml, size_t tagStart, const std::string& name) {
  const size_t tagEnd = xml.find('>', tagStart);
  const size_t at = xml.find(" " + name + "=\"", tagStart);
  if (at == std::string::npos || at > tagEnd) return {};
  const size_t begin = at + name.size() + 3;
  return xml.substr(begin, xml.find('"', begin) - begin);
}

// The package's main part ("xl/workbook.xml", "word/document.xml"), from the package's own
// relationships.
std::string mainPart(zip_t* zip, const std::filesystem::path& package) {
  const auto rels = readEntry(zip, "_rels/.rels", 1 << 20);
  if (!rels) writeFailed(package, "it is not an Office package");
  for (size_t at = rels->find("<Relationship "); at != std::string::npos; at = rels->find("<Relationship ", at + 1)) {
    if (attribute(*rels, at, "Type") != kOfficeDocumentRel) continue;
    std::string target = attribute(*rels, at, "Target");
    if (!target.empty() && target[0] == '/') target.erase(0, 1);
    return target;
  }
  writeFailed(package, "it has no main document part");
}

void addEntry(zip_t* zip, const std::string& name, std::string&& text, std::vector<std::string>& keep,
              const std::filesystem::path& package) {
  // The buffer must live until the archive is closed.
  keep.push_back(std::move(text));
  zip_source_t* source = zip_source_buffer(zip, keep.back().data(), keep.back().size(), 0);
  if (!source) writeFailed(package, zip_strerror(zip));
  if (zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
    zip_source_free(source);
    writeFailed(package, zip_strerror(zip));
  }
}

std::string insertedBefore(std::string xml, const std::string& closingTag, const std::string& element,
                           const std::filesystem::path& package) {
  const size_t at = xml.rfind(closingTag);
  if (at == std::string::npos) writeFailed(package, "a part lacks " + closingTag);
  return xml.insert(at, element);
}

}  // namespace

std::string ControlStatePart::toXml(std::span<const uint8_t> bag) {
  return std::string(kXmlDeclaration) + "<controlState xmlns=\"" + kNamespace + "\" format=\"ZPBG\">" + base64(bag) +
         "</controlState>";
}

std::vector<uint8_t> ControlStatePart::fromXml(std::string_view xml) {
  const size_t ns = xml.find(kNamespace);
  if (ns == std::string_view::npos) damaged("no control state in the part");
  const size_t open = xml.rfind('<', ns);
  const size_t contentStart = xml.find('>', ns);
  if (open == std::string_view::npos || contentStart == std::string_view::npos || xml[contentStart - 1] == '/')
    damaged("the control's state is empty");
  const size_t contentEnd = xml.find("</", contentStart);
  if (contentEnd == std::string_view::npos) damaged("the control's state is not closed");
  return unbase64(xml.substr(contentStart + 1, contentEnd - contentStart - 1));
}

void ControlStatePart::write(const std::filesystem::path& package, std::span<const uint8_t> bag) {
  int error = 0;
  Zip zip(zip_open(package.string().c_str(), 0, &error));
  if (!zip) writeFailed(package, "it cannot be opened as a package");

  int n = 1;
  while (zip_name_locate(zip.get(), fmt::format("customXml/item{}.xml", n).c_str(), 0) >= 0) ++n;
  const std::string item = fmt::format("item{}.xml", n);
  const std::string props = fmt::format("itemProps{}.xml", n);

  const std::string main = mainPart(zip.get(), package);
  const size_t slash = main.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : main.substr(0, slash + 1);
  const std::string mainRelsName = folder + "_rels/" + main.substr(slash + 1) + ".rels";
  // Every folder of the main part is one step further from customXml/.
  std::string up;
  for (char c : folder)
    if (c == '/') up += "../";

  std::string mainRels = readEntry(zip.get(), mainRelsName, 1 << 20)
                             .value_or(std::string(kXmlDeclaration) +
                                       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                       "relationships\"></Relationships>");
  const std::string relId = fmt::format("rIdControlState{}", n);
  mainRels = insertedBefore(std::move(mainRels), "</Relationships>",
                            fmt::format(R"(<Relationship Id="{}" Type="{}" Target="{}customXml/{}"/>)", relId,
                                        kCustomXmlRel, up, item),
                            package);

  auto types = readEntry(zip.get(), "[Content_Types].xml", 1 << 20);
  if (!types) writeFailed(package, "it is not an Office package");
  std::string overrides = fmt::format(R"(<Override PartName="/customXml/{}" ContentType="{}"/>)", props, kItemPropsType);
  if (types->find("Extension=\"xml\"") == std::string::npos)
    overrides += fmt::format(R"(<Override PartName="/customXml/{}" ContentType="application/xml"/>)", item);
  *types = insertedBefore(std::move(*types), "</Types>", overrides, package);

  std::vector<std::string> keep;
  keep.reserve(5);
  addEntry(zip.get(), "customXml/" + item, toXml(bag), keep, package);
  addEntry(zip.get(), "customXml/" + props,
           std::string(kXmlDeclaration) +
               fmt::format("<ds:datastoreItem ds:itemID=\"{}\" "
                           "xmlns:ds=\"http://schemas.openxmlformats.org/officeDocument/2006/customXml\">"
                           "<ds:schemaRefs><ds:schemaRef ds:uri=\"{}\"/></ds:schemaRefs></ds:datastoreItem>",
                           kItemId, kNamespace),
           keep, package);
  addEntry(zip.get(), "customXml/_rels/" + item + ".rels",
           std::string(kXmlDeclaration) +
               fmt::format("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           "<Relationship Id=\"rId1\" Type=\"{}\" Target=\"{}\"/></Relationships>",
                           kCustomXmlPropsRel, props),
           keep, package);
  addEntry(zip.get(), mainRelsName, std::move(mainRels), keep, package);
  addEntry(zip.get(), "[Content_Types].xml", std::move(*types), keep, package);

  zip_t* closing = zip.release();
  if (zip_close(closing) != 0) {
    const std::string why = zip_strerror(closing);
    zip_discard(closing);
    writeFailed(package, why);
  }
}

std::optional<std::vector<uint8_t>> ControlStatePart::read(const std::filesystem::path& package) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(package, ec)) throw automation::Error::vb(automation::vbErrFileNotFound);
  int error = 0;
  Zip zip(zip_open(package.string().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!zip) damaged(fmt::format("{} is not an Office package", package.filename().string()));
  // The base64 text of the largest bag allowed, with room for the element around it.
  const size_t limit = kMaxBytes / 3 * 4 + 4096;
  const zip_int64_t entries = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < entries; ++i) {
    const char* name = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0);
    if (!name) continue;
    const std::string_view entry(name);
    if (!entry.starts_with("customXml/item") || !entry.ends_with(".xml") || entry.starts_with("customXml/itemProps"))
      continue;
    // The root element tells whose part it is; only then does its size matter.
    if (!startsWithControlState(zip.get(), static_cast<zip_uint64_t>(i))) continue;
    const auto xml = readEntry(zip.get(), static_cast<zip_uint64_t>(i), limit);
    return fromXml(*xml);
  }
  return std::nullopt;
}

}  // namespace office
