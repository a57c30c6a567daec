#pragma once
// The saved state of the document's control inside an Office Open XML package (.xlsx, .docx):
// a custom XML part of its own (customXml/itemN.xml, with its properties part and the
// relationship from the main document part), holding the property bag's stored form in base64.
// Excel and Word keep custom XML parts they do not understand when they open and save a file,
// show nothing of them, and open the package without complaint.
//
// The part is added to a package already written (by libxlsxwriter, or any other writer), so
// the workbook and document savers share it: they write the package under its temporary name,
// add the part, and rename.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace office {

class ControlStatePart {
 public:
  // The namespace of the part's root element, by which it is found again.
  static constexpr const char* kNamespace = "urn:zelcontrolproj:control-state";
  // The most a stored bag may take; anything claiming more is refused before it is read.
  static constexpr size_t kMaxBytes = size_t{64} << 20;

  // Adds the part holding `bag` to the package at `package`. A package that cannot be opened or
  // written raises 1004 naming the file; the package is then as libzip left it, so callers work
  // on a temporary copy.
  static void write(const std::filesystem::path& package, std::span<const uint8_t> bag);
  // The stored bag, or nothing when the package carries no such part. A file that is no
  // package, or a part that is damaged or too large, raises 321 "Invalid file format: ..."; a
  // file that is missing raises 53.
  static std::optional<std::vector<uint8_t>> read(const std::filesystem::path& package);

  // The part's XML for `bag`, and the bag back from such XML (321 when it is not one).
  static std::string toXml(std::span<const uint8_t> bag);
  static std::vector<uint8_t> fromXml(std::string_view xml);
};

}  // namespace office
