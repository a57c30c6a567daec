#pragma once
// Renders the analyzer's display into an image file's bytes: GIF, BMP, JPEG and TIFF as raster
// images through libgd, WMF and EMF as vector metafiles.
#include <string>

#include "simulator/Display.h"
#include "simulator/Settings.h"

namespace sim {

std::string renderScreenImage(const Display& display, ImageFormat format);

}  // namespace sim
