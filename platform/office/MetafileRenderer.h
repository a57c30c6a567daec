#pragma once
// Windows metafiles drawn as pictures a workbook file can carry. An .xlsx writer embeds PNG,
// JPEG, GIF and BMP only, while Excel keeps a metafile picture as the metafile itself; the saved
// workbook carries the metafile played into a PNG at the picture's size in pixels instead, so
// that every spreadsheet application shows it. libwmf plays the metafile and writes the PNG; the
// URW base fonts stand in for the Windows fonts a metafile names.
#include <cstdint>
#include <optional>
#include <vector>

namespace office {

// The metafile played into `width` x `height` pixels as a PNG; nullopt when it cannot be played.
std::optional<std::vector<uint8_t>> renderMetafileAsPng(const std::vector<uint8_t>& metafile, int width,
                                                        int height);

}  // namespace office
