#pragma once
// zel get-data: one Get Data, or a timed series, saved as a workbook. Every option is checked
// and the output tried before anything connects; each finished measurement is kept in the run's
// journal before the next one starts, so that nothing measured is lost however the run ends.
#include <optional>
#include <string>

#include "Command.h"
#include "GetDataRequest.h"
#include "HostOptions.h"

namespace zelhost {

class GetDataCommand final : public Command {
 public:
  explicit GetDataCommand(CLI::App& app);
  int run() override;

 private:
  GetDataRequest request() const;

  HostOptions host_;
  std::optional<std::string> from_;
  std::string out_;
  bool force_ = false;
  std::optional<std::string> startCell_, annotations_, duration_, interval_, startAt_;
  std::optional<int> count_;
  bool chart_ = true, scientific_ = true;
  CLI::Option* chartOption_ = nullptr;
  CLI::Option* scientificOption_ = nullptr;
};

}  // namespace zelhost
