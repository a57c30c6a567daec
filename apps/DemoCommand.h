#pragma once
// zel demo: the simulated analyzer, one Get Data with every annotation and a chart, the screen
// image beside the chart, then three measurements two seconds apart, saved as zel-demo.xlsx.
#include "Command.h"
#include "HostOptions.h"

namespace zelhost {

class DemoCommand final : public Command {
 public:
  explicit DemoCommand(CLI::App& app);
  int run() override;

 private:
  HostOptions host_;
};

}  // namespace zelhost
