#include "SavedState.h"

#include <fmt/format.h>

#include <iostream>

#include "OutputFile.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Object.h"
#include "transfer/InstrumentServer.h"
#include "office/ControlStatePart.h"

namespace zelhost {

automation::PropertyBag loadSavedState(const std::filesystem::path& file) {
  // A Word document's control restores a Word connection, which a workbook cannot bind.
  if (isWordDocument(file))
    throw UsageError(fmt::format("{} is a Word document: the state it carries opens in Word, not in a workbook",
                                 file.string()));
  try {
    const auto bytes = office::ControlStatePart::read(file);
    if (!bytes) throw UsageError(fmt::format("{} carries no saved state of the analyzer toolbar", file.string()));
    return automation::PropertyBag::fromBytes(*bytes);
  } catch (const automation::Error& e) {
    throw UsageError(fmt::format("the saved state in {} cannot be opened: {}", file.string(), e.description()));
  }
}

bool reachAnalyzer(ExcelHost& host, const HostOptions& options, std::unique_ptr<Instrument>& instrument) {
  if (!options.instrument && host.connected()) {
    const auto link = host.server()->Device()->IoSession();
    std::cerr << "Reconnected to " << automation::CStr(automation::getProperty(link, "Address")) << std::endl;
    return true;
  }
  instrument = std::make_unique<Instrument>(options);
  if (host.connect(instrument->address())) return true;
  std::cerr << "zel: could not connect to " << instrument->address() << std::endl;
  return false;
}

}  // namespace zelhost
