#pragma once
// The chart of a transfer: an XY chart of the columns just written, styled like the analyzer's
// display (black plot area, white grid, one coloured line per shown trace, the model in the
// title, the amplitude unit on the value axis), embedded in the transfer's sheet.
#include <cstdint>

namespace zel {

class DataTransfer;

// headerRow, xColumn and lastColumn are cells of the transfer's sheet; the flags say which
// traces were shown; startFrequency is in Hz. The host, the sheet, the server, the point count,
// zero span, the amplitude scale and the data range come from `transfer`'s working state.
void buildChart(DataTransfer& transfer, int32_t headerRow, int32_t xColumn, int32_t lastColumn, bool trace1Shown,
                bool trace2Shown, bool trace3Shown, double startFrequency);

}  // namespace zel
