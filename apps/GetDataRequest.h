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

// Each reader below raises std::invalid_argument with a message saying what is wrong, so that a
// command line is refused before anything connects.

// List positions in the Get Data dialog of the named annotations (any case); an unknown name is
// refused with the list of the valid ones.
std::vector<int> annotationIndices(const std::string& names);
// "YYYY-MM-DD HH:MM", a date and a time of day that exist: nothing rolls over.
automation::Date parseStartAt(const std::string& text);
// "HH:MM:SS": hours 0 to 23, minutes and seconds 0 to 59, as the schedule's boxes take them.
void checkClockTime(const std::string& text);

}  // namespace zelhost
