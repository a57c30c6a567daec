#include "Instrument.h"

#include "automation/Conversions.h"
#include "automation/Object.h"
#include "control/ZELControl.h"

namespace zelhost {

bool reachAnalyzer(ExcelHost& host, const std::optional<std::string>& named, std::unique_ptr<Instrument>& instrument,
                   std::ostream& out) {
  if (!named && host.connected()) {
    const auto link = host.control().getServer()->Device()->IoSession();
    out << "Reconnected to " << automation::CStr(automation::getProperty(link, "Address")) << std::endl;
    return true;
  }
  instrument = std::make_unique<Instrument>(named, out);
  if (host.connect(instrument->address)) return true;
  std::cerr << "zel: could not connect to " << instrument->address << std::endl;
  return false;
}

}  // namespace zelhost
