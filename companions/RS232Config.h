#pragma once
// The RS-232 configuration object ("KroRS232.RS232Config"): the line settings a serial link
// opens with. Four numeric properties in interface order: StopBits, BaudRate, DataBits, Parity.
// The connect set-up gives 1, 9600, 8 and 3 (no parity): the usual 9600 8N1.
#include <cstdint>

#include "automation/Object.h"
#include "companions/IRS232Config.h"

namespace kro {

enum RS232Parity : int32_t { rs232ParityEven = 1, rs232ParityOdd = 2, rs232ParityNone = 3 };

class RS232Config : public IRS232Config {
 public:
  static constexpr const char* kProgId = "KroRS232.RS232Config";
  static constexpr const char* kClassName = "RS232Config";

  // The "RS232" entry of a collection of link configurations, its four settings read by name
  // whichever module made it; the usual 9600 8N1 when there is no collection or no such entry.
  static RS232Config configured(const automation::ObjectPtr& configurations);

  // Each put raises BadArgument for a value the serial driver cannot use.
  int32_t StopBits() const override { return stopBits_; }
  void setStopBits(int32_t value) override;  // 1 or 2
  int32_t BaudRate() const override { return baudRate_; }
  void setBaudRate(int32_t value) override;  // a rate the serial driver offers, 50 .. 4000000
  int32_t DataBits() const override { return dataBits_; }
  void setDataBits(int32_t value) override;  // 5 .. 8
  int32_t Parity() const override { return parity_; }
  void setParity(int32_t value) override;    // RS232Parity

  friend bool operator==(const RS232Config& a, const RS232Config& b) {
    return a.stopBits_ == b.stopBits_ && a.baudRate_ == b.baudRate_ && a.dataBits_ == b.dataBits_ &&
           a.parity_ == b.parity_;
  }

 private:
  int32_t stopBits_ = 1;
  int32_t baudRate_ = 9600;
  int32_t dataBits_ = 8;
  int32_t parity_ = rs232ParityNone;
};

// The serial driver's speed constant for a baud rate (termios's on POSIX, the rate itself on
// Windows), or 0 when the driver has none.
unsigned baudRateConstant(int32_t baudRate);

}  // namespace kro
