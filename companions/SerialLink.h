#pragma once
// An RS-232 link: "ASRL/dev/ttyS0::INSTR" names the device path directly (any path, a
// pseudo-terminal too); "ASRL1::INSTR" is the first serial port, /dev/ttyS0. The line is opened
// raw with the baud rate, data bits, parity and stop bits of its RS-232 configuration.
#include <optional>

#include "companions/FdIoLink.h"
#include "companions/RS232Config.h"

// The line settings of the POSIX serial driver (<termios.h>), which only the link's own source
// and its tests need in full.
struct termios;

namespace kro {

class SerialLink final : public FdIoLink {
 public:
  // `address` must be a serial address (see devicePath); raises BadAddress otherwise.
  SerialLink(std::string address, RS232Config settings = {});
  ~SerialLink() override;

  // The device path of a serial address; nullopt when the text is not one.
  static std::optional<std::string> devicePath(std::string_view address);

  static constexpr const char* kProgId = "KroRS232.RS232Link";
  static constexpr const char* kClassName = "RS232Link";
  const automation::TypeInfo& typeInfo() const override;

  // `line` made raw and set to the baud rate, data bits, parity and stop bits of `settings`.
  static termios lineSettings(termios line, const RS232Config& settings);

  std::string kind() const override { return "RS-232"; }
  const std::string& path() const { return path_; }
  const RS232Config& settings() const { return settings_; }
  // New settings take effect when the link next opens.
  void setSettings(const RS232Config& settings) { settings_ = settings; }

 protected:
  void openTransport(Millis timeout) override;
  void closeTransport() noexcept override;

 private:
  std::string path_;
  RS232Config settings_;
};

}  // namespace kro
