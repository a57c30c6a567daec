#pragma once
// The control's state that a workbook saved by zel carries. It is read before anything else
// happens, so that a file that cannot be opened is refused before any analyzer is touched, and
// the file itself is only ever read.
#include <filesystem>
#include <memory>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "HostOptions.h"
#include "automation/PropertyBag.h"

namespace zelhost {

// The bag saved in `file`. A Word document, a file that is missing, no workbook, without the control's state, or
// whose state is damaged or from a newer zel raises UsageError with the reason.
automation::PropertyBag loadSavedState(const std::filesystem::path& file);

// Makes sure the host talks to an analyzer. A named instrument is chosen in the Connect dialog
// even when a restored link is attached, as a person choosing another analyzer would; with none
// named, a link restored from the saved state is kept when it answered, and otherwise the
// built-in simulated analyzer is started into `instrument`. False, with the reason on stderr,
// when no link could be attached.
bool reachAnalyzer(ExcelHost& host, const HostOptions& options, std::unique_ptr<Instrument>& instrument);

}  // namespace zelhost
