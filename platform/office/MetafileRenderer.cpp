#include "office/MetafileRenderer.h"

#include "office/Picture.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace office {
namespace {

// Where the URW base fonts live, and which of them draws each PostScript font libwmf asks for
// when it meets a Windows font ("Courier New" is Courier, "Arial" Helvetica, ...).
char kFontDir[] = "/usr/share/fonts/type1/urw-base35";
wmfMapping kPostScriptFonts[] = {
    {const_cast<char*>("Courier"), const_cast<char*>("NimbusMonoPS-Regular.t1"), {}},
    {const_cast<char*>("Courier-Oblique"), const_cast<char*>("NimbusMonoPS-Italic.t1"), {}},
    {const_cast<char*>("Courier-Bold"), const_cast<char*>("NimbusMonoPS-Bold.t1"), {}},
    {const_cast<char*>("Courier-BoldOblique"), const_cast<char*>("NimbusMonoPS-BoldItalic.t1"), {}},
    {const_cast<char*>("Helvetica"), const_cast<char*>("NimbusSans-Regular.t1"), {}},
    {const_cast<char*>("Helvetica-Oblique"), const_cast<char*>("NimbusSans-Italic.t1"), {}},
    {const_cast<char*>("Helvetica-Bold"), const_cast<char*>("NimbusSans-Bold.t1"), {}},
    {const_cast<char*>("Helvetica-BoldOblique"), const_cast<char*>("NimbusSans-BoldItalic.t1"), {}},
    {const_cast<char*>("Times-Roman"), const_cast<char*>("NimbusRoman-Regular.t1"), {}},
    {const_cast<char*>("Times-Italic"), const_cast<char*>("NimbusRoman-Italic.t1"), {}},
    {const_cast<char*>("Times-Bold"), const_cast<char*>("NimbusRoman-Bold.t1"), {}},
    {const_cast<char*>("Times-BoldItalic"), const_cast<char*>("NimbusRoman-BoldItalic.t1"), {}},
    {const_cast<char*>("Symbol"), const_cast<char*>("StandardSymbolsPS.t1"), {}},
    {nullptr, nullptr, {}},
};

struct ApiDeleter {
  void operator()(wmfAPI* api) const { wmf_api_destroy(api); }
};
// A FILE that writes into memory: libwmf writes its PNG to a FILE.
class MemoryFile {
 public:
  MemoryFile() : file_(open_memstream(&data_, &size_)) {}
  ~MemoryFile() {
    if (file_) std::fclose(file_);
    std::free(data_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  FILE* get() const { return file_; }
  std::optional<std::vector<uint8_t>> bytes() {
    if (!file_ || std::fflush(file_) != 0 || size_ == 0) return std::nullopt;
    return std::vector<uint8_t>(data_, data_ + size_);
  }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  FILE* file_;
};

}  // namespace

std::optional<std::vector<uint8_t>> renderMetafileAsPng(const std::vector<uint8_t>& metafile, int width,
                                                        int height) {
  if (width <= 0 || height <= 0 || !isWindowsMetafile(metafile)) return std::nullopt;
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  char* fontDirs[] = {kFontDir, nullptr};
  options.fontdirs = fontDirs;
  options.font.ps = kPostScriptFonts;
  wmfAPI* created = nullptr;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&created, flags, &options) != wmf_E_None) {
    if (created) wmf_api_destroy(created);
    return std::nullopt;
  }
  std::unique_ptr<wmfAPI, ApiDeleter> api(created);
  std::vector<uint8_t> input = metafile;  // libwmf reads through a non-const pointer
  wmfD_Rect bbox{};
  if (wmf_mem_open(api.get(), input.data(), static_cast<long>(input.size())) != wmf_E_None) return std::nullopt;
  if (wmf_scan(api.get(), 0, &bbox) != wmf_E_None) return std::nullopt;
  MemoryFile png;
  if (!png.get()) return std::nullopt;
  wmf_gd_t* device = WMF_GD_GetData(api.get());
  if (!(device->flags & WMF_GD_SUPPORTS_PNG)) return std::nullopt;
  device->type = wmf_gd_png;
  device->flags |= WMF_GD_OUTPUT_FILE;
  device->file = png.get();
  device->bbox = bbox;
  device->width = static_cast<unsigned>(width);
  device->height = static_cast<unsigned>(height);
  if (wmf_play(api.get(), 0, &bbox) != wmf_E_None) return std::nullopt;
  api.reset();
  return png.bytes();
}

}  // namespace office
