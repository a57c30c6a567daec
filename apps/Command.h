#pragma once
// A sub-command of zel: it adds itself and its options to the command line, and runs when the
// command line names it.
#include <CLI/CLI.hpp>

namespace zelhost {

class Command {
 public:
  virtual ~Command() = default;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  bool chosen() const { return command_->parsed(); }
  // The exit status of the program (see ExitStatus.h).
  virtual int run() = 0;

 protected:
  Command() = default;
  CLI::App* command_ = nullptr;
};

}  // namespace zelhost
