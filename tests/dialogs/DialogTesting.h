#pragma once
// What the dialog tests share: a scripted desktop, a fake clock and a registry holding the
// schedule control, and a check of a message box as the user saw it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "automation/Clock.h"
#include "automation/Date.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "forms/ControlContainer.h"
#include "forms/MsgBox.h"
#include "forms/ScriptedDesktop.h"

namespace dialogstest {

// The moment the fake clock starts at: a Friday morning, 18 seconds into the minute.
inline automation::Date morning() { return automation::Date::fromParts(2026, 12, 4, 8, 16, 18); }

class DialogTest : public testing::Test {
 protected:
  DialogTest();

  forms::ScriptedDesktop desk;
  forms::ScopedDesktop useDesk{desk};
  automation::FakeClock clock{morning()};
  automation::ScopedClock useClock{clock};
  automation::Registry registry;
  automation::ScopedRegistry useRegistry{registry};
};

// A message box with only an OK button: its text, icon ("critical" or "" for none) and the
// title shown ("ZELControlProj" when the program gave none).
void expectOkMessage(const forms::MessageBoxShown& shown, const std::string& text, const std::string& icon,
                     const std::string& title);

// The error number `call` fails with; 0 when it returns.
template <class F>
int32_t failureOf(F&& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

// The name of the control of `container` that has the focus, or "" when none has.
std::string focusedName(const forms::ControlContainer& container);

}  // namespace dialogstest
