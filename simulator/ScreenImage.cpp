#include "simulator/ScreenImage.h"

#include <gd.h>
#include <gdfonts.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "simulator/Metafile.h"

namespace sim {
namespace {

using ImagePtr = std::unique_ptr<gdImage, decltype(&gdImageDestroy)>;

std::string rasterise(const Display& display, ImageFormat format) {
  // A palette image: the screen has a handful of colours, and GIF needs a palette anyway.
  ImagePtr image(gdImageCreate(Display::kWidth, Display::kHeight), &gdImageDestroy);
  if (!image) throw std::runtime_error("cannot create the screen image");
  std::map<std::tuple<int, int, int>, int> palette;
  auto colour = [&](Rgb c) {
    const auto key = std::make_tuple(c.r, c.g, c.b);
    auto it = palette.find(key);
    if (it == palette.end()) it = palette.emplace(key, gdImageColorAllocate(image.get(), c.r, c.g, c.b)).first;
    return it->second;
  };
  const int background = colour(display.background);  // the first colour allocated fills the image
  gdImageFilledRectangle(image.get(), 0, 0, Display::kWidth - 1, Display::kHeight - 1, background);
  for (const auto& line : display.lines) {
    const int c = colour(line.color);
    if (line.points.size() == 1) gdImageSetPixel(image.get(), line.points[0].x, line.points[0].y, c);
    for (std::size_t i = 1; i < line.points.size(); ++i)
      gdImageLine(image.get(), line.points[i - 1].x, line.points[i - 1].y, line.points[i].x,
                  line.points[i].y, c);
  }
  gdFontPtr font = gdFontGetSmall();
  for (const auto& text : display.texts) {
    std::vector<unsigned char> chars(text.text.begin(), text.text.end());
    chars.push_back(0);
    gdImageString(image.get(), font, text.origin.x, text.origin.y, chars.data(), colour(text.color));
  }

  int size = 0;
  void* data = nullptr;
  switch (format) {
    case ImageFormat::Gif: data = gdImageGifPtr(image.get(), &size); break;
    case ImageFormat::Bmp: data = gdImageBmpPtr(image.get(), &size, 0); break;
    case ImageFormat::Jpeg: data = gdImageJpegPtr(image.get(), &size, 90); break;
    case ImageFormat::Tiff: data = gdImageTiffPtr(image.get(), &size); break;
    default: break;
  }
  if (!data) throw std::runtime_error("cannot encode the screen image");
  std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(size));
  gdFree(data);
  return bytes;
}

}  // namespace

std::string renderScreenImage(const Display& display, ImageFormat format) {
  switch (format) {
    case ImageFormat::Wmf: return writeWmf(display);
    case ImageFormat::Emf: return writeEmf(display);
    default: return rasterise(display, format);
  }
}

}  // namespace sim
