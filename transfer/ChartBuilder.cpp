#include "transfer/ChartBuilder.h"

#include "transfer/DataTransfer.h"

namespace zel {

void buildChart(DataTransfer& transfer, int32_t headerRow, int32_t xColumn, int32_t lastColumn, bool trace1Shown,
                bool trace2Shown, bool trace3Shown, double startFrequency) {
  // The chart arrives with the host's chart objects; until then a transfer ends with its data.
}

}  // namespace zel
