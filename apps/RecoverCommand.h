#pragma once
// zel recover FILE.xlsx: saves the measurements a killed run left in FILE.xlsx.journal as the
// workbook FILE.xlsx, then removes the journal.
#include <string>

#include "Command.h"

namespace zelhost {

class RecoverCommand final : public Command {
 public:
  explicit RecoverCommand(CLI::App& app);
  int run() override;

 private:
  std::string workbook_;
};

}  // namespace zelhost
