// Fuzz target for reading the size of a picture a workbook embeds (PNG, JPEG, BMP, GIF headers):
// every input gives a positive size or nullopt, and nothing is read past its end.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "office/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  if (auto image = office::embeddableImage(bytes); image && (image->width <= 0 || image->height <= 0)) std::abort();
  return 0;
}
