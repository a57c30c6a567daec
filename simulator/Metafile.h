#pragma once
// Minimal Windows metafiles of the analyzer's display, written byte by byte (little-endian):
// a placeable Windows Metafile (16-bit records) and an Enhanced Metafile (32-bit records). Both
// hold a black background rectangle, one pen per colour, the graticule and traces as polylines
// and the annotations as text in a fixed-pitch font, at 96 dots per inch.
#include <string>

#include "simulator/Display.h"

namespace sim {

std::string writeWmf(const Display& display);
std::string writeEmf(const Display& display);

}  // namespace sim
