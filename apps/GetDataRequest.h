#pragma once
// What a Get Data asks for, as the command line gives it: each choice the person would make in
// the Get Data and Repeated Measurements dialogs. An unset choice leaves the dialog as it opens.
#include <optional>
#include <string>
#include <vector>

#include "automation/Date.h"

namespace zelhost {

struct GetDataRequest {
  std::optional<std::string> startCell;
  // Comma-separated annotation names, "all" or "none".
  std::optional<std::string> annotations;
  std::optional<bool> chart;
  std::optional<bool> scientific;
  // The schedule; none of them set is a single measurement.
  std::optional<int> count;
  std::optional<std::string> duration;  // HH:MM:SS
  std::optional<std::string> interval;  // HH:MM:SS
  std::optional<std::string> startAt;   // YYYY-MM-DD HH:MM

  bool repeated() const { return count || duration || interval || startAt; }
};

// How a Get Data ended.
enum class Outcome {
  Done,       // everything asked for was measured
  Refused,    // a dialog refused an entry; nothing was measured
  Cancelled,  // the dialog was closed without Get Data
  Stopped,    // the person stopped the run; what was measured is kept
  Failed,     // the system reported a critical failure; what was measured is kept
};

}  // namespace zelhost

namespace zelhost {

// List positions in the Get Data dialog of the named annotations (any case); throws
// std::invalid_argument naming one it does not know.
std::vector<int> annotationIndices(const std::string& names);
// "YYYY-MM-DD HH:MM"; nullopt when the text is not that.
std::optional<automation::Date> parseStartAt(const std::string& text);
// True for "HH:MM:SS" with digits in each part.
bool isClockTime(const std::string& text);

}  // namespace zelhost
