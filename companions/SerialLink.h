#pragma once
// An RS-232 link: "ASRL1::INSTR" is the first serial port (/dev/ttyS0 on POSIX, COM1 on
// Windows); on POSIX "ASRL/dev/ttyUSB0::INSTR" names any device path, a pseudo-terminal too.
// The line is opened raw with the baud rate, data bits, parity and stop bits of its RS-232
// configuration.
#include "companions/RS232Config.h"
#include "companions/SystemIoLink.h"

// The line settings of the serial driver (<termios.h>, or the Windows DCB), which only the
// link's own source and its tests need in full.
#ifdef _WIN32
struct _DCB;
#else
struct termios;
#endif

namespace kro {

class SerialLink final : public SystemIoLink {
 public:
  // `address` must be a serial address (see serialDevicePath); raises BadAddress otherwise.
  SerialLink(std::string address, RS232Config settings = {});
  ~SerialLink() override;

  static constexpr const char* kProgId = "KroRS232.RS232Link";
  static constexpr const char* kClassName = "RS232Link";
  const automation::TypeInfo& typeInfo() const override;

  // `line` made raw and set to the baud rate, data bits, parity and stop bits of `settings`.
#ifdef _WIN32
  static _DCB lineSettings(_DCB line, const RS232Config& settings);
#else
  static termios lineSettings(termios line, const RS232Config& settings);
#endif

  std::string kind() const override { return "RS-232"; }
  const std::string& path() const { return path_; }
  const RS232Config& settings() const { return settings_; }
  // New settings take effect when the link next opens.
  void setSettings(const RS232Config& settings) { settings_ = settings; }

 protected:
  void openTransport(Millis timeout) override;
  void closeTransport() noexcept override;
#ifdef _WIN32
  Io readSome(std::span<uint8_t> buffer, Millis timeout, size_t& count) override;
  Io writeSome(std::span<const uint8_t> data, Millis timeout, size_t& count) override;
#endif

 private:
  std::string path_;
  RS232Config settings_;
};

}  // namespace kro
