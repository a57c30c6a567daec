// The desktop a Windows test run plays, for every module of the system that shows something: the
// library's dialogs and the companions' own message boxes go to the same player.
#include "forms/DispatchDesktop.h"

#include "automation/Error.h"

#include "automation/com/ComObjects.h"

namespace forms {

namespace {

// The ProgID of a desktop that a test run plays (HKEY_CURRENT_USER\Software\ZELControlProj,
// value "TestDesktop"), written by the test run into its own Wine prefix; "" on a user's
// machine, where the dialogs are the library's own windows.
std::string testDesktopProgId() {
  char value[256] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, "Software\\ZELControlProj", "TestDesktop", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return {};
  return value;
}

}  // namespace

void DispatchDesktop::chooseForTestRun() {
  const std::string progId = testDesktopProgId();
  if (progId.empty()) return;
  try {
    // Kept for the life of the process, never released: at the process's end COM is gone
    // before it.
    setDesktop(new DispatchDesktop(automation::com::createComObject(progId)));
  } catch (const automation::Error&) {
    // Not registered: nobody plays it, and the module's own desktop stays.
  }
}

}  // namespace forms
