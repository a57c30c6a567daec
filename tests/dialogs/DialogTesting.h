#pragma once
// What the dialog tests share: a scripted desktop, a fake clock and a registry holding the
// schedule control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/Clock.h"
#include "automation/Registry.h"
#include "dialogs/repMeasControl.h"
#include "forms/ControlContainer.h"
#include "forms/TextBox.h"
#include "forms/ScriptedDesktop.h"

namespace dialogstest {

// The moment the fake clock starts at: a Friday morning, 18 seconds into the minute.
inline automation::Date morning() { return automation::Date::fromParts(2026, 12, 4, 8, 16, 18); }

class DialogTest : public testing::Test {
 protected:
  DialogTest() { zel::registerRepMeasControl(registry); }

  forms::ScriptedDesktop desk;
  forms::ScopedDesktop useDesk{desk};
  automation::FakeClock clock{morning()};
  automation::ScopedClock useClock{clock};
  automation::Registry registry;
  automation::ScopedRegistry useRegistry{registry};
};

// The texts of `boxes`, in order.
inline std::vector<std::string> texts(const std::vector<forms::TextBox*>& boxes) {
  std::vector<std::string> out;
  for (const forms::TextBox* box : boxes) out.push_back(box->Text());
  return out;
}

// The name of the control of `container` that has the focus, or "" when none has.
inline std::string focusedName(const forms::ControlContainer& container) {
  const forms::Control* active = container.ActiveControl();
  return active ? active->Name() : "";
}

}  // namespace dialogstest
