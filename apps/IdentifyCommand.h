#pragma once
// zel identify: connects as the Connect dialog does and prints who answered (maker, model,
// serial number, firmware), where, and how it is set to sweep.
#include "Command.h"
#include "HostOptions.h"

namespace zelhost {

class IdentifyCommand final : public Command {
 public:
  explicit IdentifyCommand(CLI::App& app);
  int run() override;

 private:
  HostOptions host_;
};

}  // namespace zelhost
