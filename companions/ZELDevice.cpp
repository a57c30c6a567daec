#include "ZELDevice.h"

#include <fmt/format.h>

#include <algorithm>

#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/ReplyExcerpt.h"
#include "companions/VisaAddress.h"

namespace kro {

namespace {

std::string trimmed(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '"'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

// The interface's members by dispatch id, for this class and for the views of another module's
// object alike.
const automation::TypeInfo& IZELDevice::typeInfo() const {
  using Self = IZELDevice;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(ZELDevice::kClassName)
          .interface(ZELDevice::kIid, "IZELDevice")
          .get("DiscoveryText", 1, &Self::DiscoveryText)
          .get("IoTimeout", 2, &Self::IoTimeout)
          .put("IoTimeout", 2, &Self::setIoTimeout)
          .get("Model", 3, &Self::Model)
          .get("SerialNumber", 4, &Self::SerialNumber)
          .get("Version", 5, &Self::Version)
          .get("IoSession", 6, &Self::IoSession)
          .putRef("IoSession", 6, &Self::setIoSession)
          .get("SetupState", 7, &Self::SetupState)
          .put("SetupState", 7, &Self::setSetupState)
          .build();
  return info;
}

const std::vector<std::string>& ZELDevice::supportedModels() {
  static const std::vector<std::string> models{
      "ORV 3013", "ORV 3026", "ZEL-Q 3008", "ZEL-Q 3018", "ZEL-R 3026",
      "ZEL-R 3036", "ZEL-VX 3044", "ZEL-VX 3067",
  };
  return models;
}

std::string ZELDevice::DiscoveryText() const {
  return "ORV/ZEL-Q/R/VX spectrum analyzers answer on a LAN socket (TCPIP0::host::5025::SOCKET) "
         "or on an RS-232 port (ASRL1::INSTR)";
}

void ZELDevice::setIoTimeout(int32_t milliseconds) {
  if (milliseconds < 1 || milliseconds > kMaxIoTimeoutMs)
    throw companionError(ErrorCode::BadArgument,
                         fmt::format("IoTimeout {} is not a time-out this server waits: give milliseconds, "
                                     "1 to {} (ten minutes and two seconds)",
                                     milliseconds, kMaxIoTimeoutMs));
  ioTimeoutMs_ = milliseconds;
}

ScpiSession ZELDevice::session() {
  if (!link_) throw companionError(ErrorCode::NoLink, "No instrument link: connect to an analyzer first");
  return ScpiSession(*link_, ioTimeoutMs_);
}

ZELDevice::Identity ZELDevice::identity() {
  ScpiSession scpi = session();
  const std::string reply = scpi.query("*IDN?");
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = reply.find(',', start)) != std::string::npos; start = comma + 1)
    fields.push_back(trimmed(std::string_view(reply).substr(start, comma - start)));
  fields.push_back(trimmed(std::string_view(reply).substr(start)));
  if (fields.size() != 4 || fields[1].empty())
    throw companionError(ErrorCode::BadReply,
                         fmt::format("*IDN? to {} returned '{}' where an identity (maker,model,serial,firmware) "
                                     "was expected",
                                     link_->Address(), replyExcerpt(reply)));
  return {fields[0], fields[1], fields[2], fields[3]};
}

std::string ZELDevice::Model() { return identity().model; }
std::string ZELDevice::SerialNumber() { return identity().serial; }
std::string ZELDevice::Version() { return identity().firmware; }

void ZELDevice::setIoSession(automation::ObjectPtr object) {
  if (!object) {
    link_.reset();
    return;
  }
  auto link = std::dynamic_pointer_cast<IoLink>(object);
  if (!link) throw automation::Error::vb(automation::vbErrTypeMismatch, kServerSource);
  std::swap(link_, link);
  try {
    const Identity id = identity();
    const auto& models = supportedModels();
    const bool known = std::any_of(models.begin(), models.end(),
                                   [&](const std::string& m) { return equalsNoCase(m, id.model); });
    if (!known)
      throw companionError(ErrorCode::NotSupported,
                           fmt::format("The instrument at {} is a {} {}, which this server does not drive",
                                       link_->Address(), replyExcerpt(id.maker), replyExcerpt(id.model)));
  } catch (...) {
    link_->ReleaseLink();
    std::swap(link_, link);
    throw;
  }
}

automation::Variant ZELDevice::SetupState() {
  ScpiSession scpi = session();
  return automation::Variant(automation::SafeArray::ofBytes(scpi.queryBlock(":SYST:SET?")));
}

void ZELDevice::setSetupState(const automation::Variant& image) {
  if (!image.isArray() || image.asArray().elementType() != automation::vbByte ||
      image.asArray().dimensions() != 1 || image.asArray().size() == 0)
    throw companionError(ErrorCode::BadArgument,
                         "A settings image is the Byte array that reading SetupState gave");
  ScpiSession scpi = session();
  // Clear old errors first so that the error read afterwards is this image's.
  scpi.write("*CLS");
  scpi.writeBlock(":SYST:SET", image.asArray().bytes());
  const std::string error = scpi.query(":SYST:ERR?");
  const auto code = parseScpiNumber(error.substr(0, error.find(',')));
  if (!code || *code != 0)
    throw companionError(ErrorCode::InstrumentError,
                         fmt::format("The analyzer at {} refused the settings image: {}", link_->Address(),
                                     replyExcerpt(error)));
}

}  // namespace kro
