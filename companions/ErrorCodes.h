#pragma once
// Object-defined error codes raised by the companion components (vbObjectError + code). They
// start at 0x200 because COM reserves the codes below it for its own object errors.
#include <cstdint>
#include <string>

#include "automation/Error.h"

namespace kro {

enum class ErrorCode : int32_t {
  BadAddress = 0x201,     // an address text no link understands
  ConnectFailed = 0x202,  // the link could not be opened
  Timeout = 0x203,        // no (complete) reply within the IO time-out
  LinkClosed = 0x204,     // the instrument closed the link in the middle of an exchange
  BadReply = 0x205,       // a reply that is not what the command answers
  ReplyTooLong = 0x206,   // a line or block beyond what the link accepts
  LinkFailed = 0x207,     // any other system failure of the link
  NoLink = 0x208,         // an instrument operation without an IO session
  BadArgument = 0x209,    // a trace number, format code or setting the server cannot use
  NotSupported = 0x20A,   // an analyzer model the server does not drive
  InstrumentError = 0x20B,  // the analyzer reported an error for a command
  FileFailed = 0x20C,     // an image file that cannot be written
  UnknownState = 0x20D,   // no captured state of that name
  NotASetupFile = 0x20E,  // a file that is not a settings file of the older analyzers
  DamagedStates = 0x20F,  // captured states in a document that cannot be read back
  Interrupted = 0x210,    // a stop was asked for while the link connected, sent or waited
};

inline constexpr const char* kLinkSource = "KroIO.IoLink";
inline constexpr const char* kServerSource = "KroZEL.ZELEZ";
inline constexpr const char* kSetupsSource = "KroInstrSetups.ItemStateInfo";

inline automation::Error companionError(ErrorCode code, std::string description,
                                        const char* source = kServerSource) {
  return automation::Error::object(static_cast<int32_t>(code), std::move(description), source);
}

}  // namespace kro
