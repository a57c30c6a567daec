#include "office/word/DocumentSaver.h"

#include <fmt/format.h>
#include <unistd.h>
#include <zip.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "office/ControlStatePart.h"
#include "office/Errors.h"
#include "office/MetafileRenderer.h"
#include "office/Picture.h"
#include "office/word/MemoryDocument.h"

namespace office::word {
namespace {

constexpr int32_t wdErrCommandFailed = 4198;
constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
constexpr const char* kRelationshipsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr const char* kImageRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
constexpr int64_t kEmuPerPoint = 12700;

[[noreturn]] void saveFailed(const std::filesystem::path& path, const std::string& why) {
  throw wordError(wdErrCommandFailed, fmt::format("The document could not be saved to '{}': {}", path.string(), why));
}

// The extension of an embeddable picture's part, which also names its media type ("image/png").
const char* mediaExtension(const std::vector<uint8_t>& b) {
  if (b[0] == 0xFF && b[1] == 0xD8) return "jpeg";
  if (b[0] == 'B' && b[1] == 'M') return "bmp";
  if (std::memcmp(b.data(), "GIF8", 4) == 0) return "gif";
  return "png";
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A picture as it goes into the package.
struct Embedded {
  std::string name;  // "Picture 1"
  std::vector<uint8_t> bytes;
  const char* extension;
  int64_t cx, cy;  // EMU
};

std::optional<Embedded> embedded(const MemoryShape& shape) {
  const Picture& picture = shape.picture();
  if (!picture.savedWithDocument || shape.Width() <= 0 || shape.Height() <= 0) return std::nullopt;
  std::vector<uint8_t> bytes = picture.bytes;
  if (isWindowsMetafile(bytes)) {
    // Played into pixels at the size the picture has in the document.
    auto played = renderMetafileAsPng(bytes, static_cast<int>(std::lround(shape.Width() * 4 / 3)),
                                      static_cast<int>(std::lround(shape.Height() * 4 / 3)));
    if (!played) return std::nullopt;
    bytes = std::move(*played);
  }
  if (!embeddableImage(bytes)) return std::nullopt;
  const char* extension = mediaExtension(bytes);
  return Embedded{shape.Name(), std::move(bytes), extension, std::llround(shape.Width() * kEmuPerPoint),
                  std::llround(shape.Height() * kEmuPerPoint)};
}

// One inline picture in a paragraph of its own.
std::string pictureParagraph(const Embedded& picture, size_t number) {
  return fmt::format(
      R"(<w:p><w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0">)"
      R"(<wp:extent cx="{cx}" cy="{cy}"/><wp:effectExtent l="0" t="0" r="0" b="0"/>)"
      R"(<wp:docPr id="{n}" name="{name}"/>)"
      R"(<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect="1"/></wp:cNvGraphicFramePr>)"
      R"(<a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic>)"
      R"(<pic:nvPicPr><pic:cNvPr id="{n}" name="image{n}.{ext}"/><pic:cNvPicPr/></pic:nvPicPr>)"
      R"(<pic:blipFill><a:blip r:embed="rId{n}"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>)"
      R"(<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{cx}" cy="{cy}"/></a:xfrm>)"
      R"(<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr>)"
      R"(</pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>)",
      fmt::arg("cx", picture.cx), fmt::arg("cy", picture.cy), fmt::arg("n", number),
      fmt::arg("name", escaped(picture.name)), fmt::arg("ext", picture.extension));
}

// The parts of the package, written into a new zip archive.
class Package {
 public:
  explicit Package(const std::filesystem::path& path) : path_(path) {
    int error = 0;
    zip_ = zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip_) {
      zip_error_t reason;
      zip_error_init_with_code(&reason, error);
      const std::string why = zip_error_strerror(&reason);
      zip_error_fini(&reason);
      saveFailed(path, why);
    }
  }
  ~Package() {
    if (zip_) zip_discard(zip_);
  }
  Package(const Package&) = delete;
  Package& operator=(const Package&) = delete;

  void add(const std::string& name, std::string text) {
    // The buffer must live until the archive is closed.
    const std::string& kept = parts_.emplace_back(std::move(text));
    zip_source_t* source = zip_source_buffer(zip_, kept.data(), kept.size(), 0);
    if (!source) saveFailed(path_, zip_strerror(zip_));
    if (zip_file_add(zip_, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(source);
      saveFailed(path_, zip_strerror(zip_));
    }
  }

  void close() {
    zip_t* closing = zip_;
    zip_ = nullptr;
    if (zip_close(closing) != 0) {
      const std::string why = zip_strerror(closing);
      zip_discard(closing);
      saveFailed(path_, why);
    }
  }

 private:
  std::filesystem::path path_;
  zip_t* zip_ = nullptr;
  std::deque<std::string> parts_;
};

void writePackage(const MemoryDocument& document, const std::filesystem::path& path) {
  std::vector<Embedded> pictures;
  for (const auto& shape : document.shapes())
    if (auto picture = embedded(*shape)) pictures.push_back(std::move(*picture));

  std::string types = std::string(kXmlDeclaration) +
                      R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
                      R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
                      R"(<Default Extension="xml" ContentType="application/xml"/>)";
  for (const char* extension : {"png", "jpeg", "gif", "bmp"})
    types += fmt::format(R"(<Default Extension="{}" ContentType="image/{}"/>)", extension, extension);
  types += R"(<Override PartName="/word/document.xml" )"
           R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)";

  std::string body;
  std::string relationships = std::string(kXmlDeclaration) + fmt::format(R"(<Relationships xmlns="{}">)", kRelationshipsNs);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const size_t n = i + 1;
    body += pictureParagraph(pictures[i], n);
    relationships += fmt::format(R"(<Relationship Id="rId{}" Type="{}" Target="media/image{}.{}"/>)", n, kImageRel, n,
                                 pictures[i].extension);
  }
  if (pictures.empty()) body = "<w:p/>";
  relationships += "</Relationships>";

  const std::string main =
      std::string(kXmlDeclaration) +
      R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
      R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
      R"(xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" )"
      R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
      R"(xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"><w:body>)" +
      body +
      R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1440" w:right="1440" w:bottom="1440" )"
      R"(w:left="1440" w:header="720" w:footer="720" w:gutter="0"/></w:sectPr></w:body></w:document>)";

  Package package(path);
  package.add("[Content_Types].xml", std::move(types));
  package.add("_rels/.rels",
              std::string(kXmlDeclaration) +
                  fmt::format(R"(<Relationships xmlns="{}"><Relationship Id="rId1" )"
                              R"(Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" )"
                              R"(Target="word/document.xml"/></Relationships>)",
                              kRelationshipsNs));
  package.add("word/document.xml", main);
  package.add("word/_rels/document.xml.rels", std::move(relationships));
  for (size_t i = 0; i < pictures.size(); ++i)
    package.add(fmt::format("word/media/image{}.{}", i + 1, pictures[i].extension),
                std::string(pictures[i].bytes.begin(), pictures[i].bytes.end()));
  package.close();
}

}  // namespace

void DocumentSaver::save(const std::filesystem::path& path, const automation::PropertyBag* controlState) const {
  document_.requireOpen();
  std::filesystem::path temporary = path;
  temporary += fmt::format(".~{}.tmp", ::getpid());
  std::error_code ignored;
  try {
    writePackage(document_, temporary);
    try {
      if (controlState) ControlStatePart::write(temporary, controlState->toBytes());
    } catch (const automation::Error& e) {
      throw wordError(wdErrCommandFailed, e.description());
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed) saveFailed(path, renamed.message());
  } catch (...) {
    std::filesystem::remove(temporary, ignored);
    throw;
  }
}

}  // namespace office::word
