#pragma once
// The instrument server's device object: the link to one analyzer (IoSession), the time-out for
// its replies, its identity and its settings image. The server reaches the analyzer through it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/Variant.h"
#include "companions/IZELDevice.h"
#include "companions/IoLink.h"
#include "companions/ScpiSession.h"

namespace kro {

// How traces travel: binary REAL,32 (the default, four bytes a point) or ASCII text.
enum class TraceFormat { Real32, Ascii };

class ZELDevice : public IZELDevice {
 public:
  static constexpr const char* kClassName = "ZELDevice";
  static constexpr const char* kClsid = "{3E8D4C21-9A57-4B0E-8F6C-1D2A7B5E9C03}";
  static constexpr const char* kIid = "{3E8D4C22-9A57-4B0E-8F6C-1D2A7B5E9C03}";
  static constexpr int32_t kDefaultIoTimeoutMs = 5000;
  // The longest time-out taken: the longest sweep read (ZELEZ::kMaxSweepTime) plus two seconds.
  static constexpr int32_t kMaxIoTimeoutMs = 602'000;


  // The analyzer models this server drives, as *IDN? names them.
  static const std::vector<std::string>& supportedModels();

  std::string DiscoveryText() const override;
  int32_t IoTimeout() const override { return ioTimeoutMs_; }
  // Milliseconds, 1 to kMaxIoTimeoutMs; anything else raises BadArgument.
  void setIoTimeout(int32_t milliseconds) override;
  // From *IDN?: "maker,model,serial,firmware".
  std::string Model() override;
  std::string SerialNumber() override;
  std::string Version() override;
  // The link, or Nothing.
  automation::ObjectPtr IoSession() const override { return link_; }
  // Attaching a link asks the analyzer who it is: a link that cannot reach an analyzer, or
  // reaches one this server does not drive, raises and leaves the previous link in place; the
  // link stays open for the caller's next operations. Nothing detaches without any I/O. An
  // object that is no IO link raises 13, as assigning it to the interface would.
  void setIoSession(automation::ObjectPtr link) override;
  // The analyzer's settings image: Byte(0 To L - 1).
  automation::Variant SetupState() override;
  // Sends a settings image back; raises InstrumentError when the analyzer refuses it.
  void setSetupState(const automation::Variant& image) override;

  // For the server and C++ callers.
  const std::shared_ptr<IoLink>& link() const { return link_; }
  // A session on the link with the current time-out; raises NoLink without a link.
  ScpiSession session();
  TraceFormat traceFormat() const { return traceFormat_; }
  void setTraceFormat(TraceFormat format) { traceFormat_ = format; }

  struct Identity {
    std::string maker, model, serial, firmware;
  };
  Identity identity();

 private:
  std::shared_ptr<IoLink> link_;
  int32_t ioTimeoutMs_ = kDefaultIoTimeoutMs;
  TraceFormat traceFormat_ = TraceFormat::Real32;
};

}  // namespace kro
