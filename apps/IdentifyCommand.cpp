#include "IdentifyCommand.h"

#include <fmt/format.h>

#include <iostream>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "companions/ZELDevice.h"
#include "companions/ZELEZ.h"

namespace zelhost {

IdentifyCommand::IdentifyCommand(CLI::App& app) {
  command_ = app.add_subcommand("identify", "Connect to the analyzer and print its identity and sweep settings");
  host_.addTo(*command_);
}

int IdentifyCommand::run() {
  host_.check();
  Instrument instrument(host_);
  ExcelHost host(std::cerr);
  if (!host.connect(instrument.address())) {
    std::cerr << "zel: could not connect to " << instrument.address() << std::endl;
    return kExitIncomplete;
  }
  // zel's instrument server is always the library's own, so the whole identity reply, maker
  // included, is at hand from the one query the connection made.
  auto& server = dynamic_cast<kro::ZELEZ&>(*host.server());
  const auto identity = server.device()->identity();
  const auto line = [](const char* name, const auto& value) { std::cout << fmt::format("{:<18} {}\n", name, value); };
  line("Address:", instrument.simulated() ? instrument.address() + " (the built-in simulated analyzer)"
                                          : instrument.address());
  line("Maker:", identity.maker);
  line("Model:", identity.model);
  line("Serial number:", identity.serial);
  line("Firmware:", identity.firmware);
  line("Start frequency:", fmt::format("{} Hz", server.StartFrequency()));
  line("Stop frequency:", fmt::format("{} Hz", server.StopFrequency()));
  line("Center frequency:", fmt::format("{} Hz", server.CenterFrequency()));
  line("Span:", fmt::format("{} Hz", server.Span()));
  line("Resolution BW:", fmt::format("{} Hz", server.ResolutionBandwidth()));
  line("Video BW:", fmt::format("{} Hz", server.VideoBandwidth()));
  line("Sweep time:", fmt::format("{} s", server.SweepTime()));
  line("Sweep points:", server.NumberOfPoints());
  line("Reference level:", fmt::format("{} {}", server.ReferenceLevel(), server.AmplitudeUnits()));
  line("Attenuation:", fmt::format("{} dB", server.Attenuation()));
  std::cout.flush();
  return kExitDone;
}

}  // namespace zelhost
