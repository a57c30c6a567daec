// Fuzz target for everything the instrument server reads from an analyzer: reply lines, numbers,
// the date and time, the *IDN? identity, definite-length blocks and REAL,32 and ASCII traces,
// with the bytes arriving in chunks of varying size. Any input either gives values or raises
// automation::Error; nothing crashes, hangs or reads out of bounds.
//
// The first byte chooses two operations run one after the other (so that what a block leaves
// behind meets the next read), the second how the bytes are cut into chunks; the rest is what
// the analyzer sends after it has named itself.
#include <cstdint>
#include <span>
#include <string>

#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "companions/IoLink.h"
#include "companions/ZELEZ.h"

namespace {

// A link whose instrument is a byte string: writes vanish, reads take the next chunk, and the
// end of the string is the instrument closing the connection.
class MemoryLink final : public kro::IoLink {
 public:
  MemoryLink(std::string replies, uint8_t chunking) : IoLink("MEMORY::INSTR"), replies_(std::move(replies)), chunking_(chunking) {}
  const automation::TypeInfo& typeInfo() const override {
    static const automation::TypeInfo info = describe<MemoryLink>("MemoryLink");
    return info;
  }
  std::string kind() const override { return "memory"; }

 protected:
  void openTransport(Millis) override {}
  void closeTransport() noexcept override {}
  Io readSome(std::span<uint8_t> buffer, Millis, size_t& count) override {
    if (at_ == replies_.size()) return Io::Closed;
    size_t chunk = 1 + (chunking_ * (at_ + 7)) % 61;
    if (chunking_ & 0x80) chunk = replies_.size();
    count = std::min({chunk, buffer.size(), replies_.size() - at_});
    std::copy_n(replies_.data() + at_, count, buffer.data());
    at_ += count;
    return Io::Done;
  }
  Io writeSome(std::span<const uint8_t> data, Millis, size_t& count) override {
    count = data.size();
    return Io::Done;
  }

 private:
  std::string replies_;
  uint8_t chunking_;
  size_t at_ = 0;
};

void operate(kro::ZELEZ& zel, int operation) {
  auto& device = *zel.device();
  switch (operation) {
    case 0: zel.StartFrequency(); break;
    case 1: zel.NumberOfPoints(); break;
    case 2: zel.InstrumentDateTime(); break;
    case 3: device.setTraceFormat(kro::TraceFormat::Real32); zel.GetTraceData(1, false); break;
    case 4: device.setTraceFormat(kro::TraceFormat::Ascii); zel.GetTraceData(2, true); break;
    case 5: device.setTraceFormat(kro::TraceFormat::Real32); zel.GetAllTraceData(true); break;
    case 6: device.setTraceFormat(kro::TraceFormat::Ascii); zel.GetAllTraceData(false); break;
    case 7: device.SetupState(); break;
    case 8: device.Model(); break;
    case 9: zel.SweepTime(); break;
    case 10: zel.SweepMode(); break;
    default: zel.TraceMode(3); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  constexpr int kOperations = 12;
  const std::string replies = "Corvane,ZEL-R 3036,100245,A.02.14\n" + std::string(reinterpret_cast<const char*>(data + 2), size - 2);
  auto zel = std::make_shared<kro::ZELEZ>();
  try {
    zel->Device()->setIoSession(std::make_shared<MemoryLink>(replies, data[1]));
  } catch (const automation::Error&) {
    return 0;
  }
  for (int operation : {data[0] % kOperations, data[0] / kOperations % kOperations}) {
    try {
      operate(*zel, operation);
    } catch (const automation::Error&) {
    }
  }
  return 0;
}
