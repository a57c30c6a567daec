#pragma once
// The Connect dialog as the person at the keyboard answers it, in either host: the instrument's
// address typed into the discovery control, Connect, then Close.
#include <iosfwd>
#include <string>

namespace zel {
class ZELControl;
}

namespace zelhost {

class AnswerDesktop;

// Runs the control's Connect command; true when the instrument's link is attached afterwards,
// which is then said on `out`.
bool connectThroughDialog(AnswerDesktop& desk, zel::ZELControl& control, const std::string& address, std::ostream& out);

// Whether the control's instrument has a link, through the Connect dialog or a restored one.
bool instrumentAttached(zel::ZELControl& control);

}  // namespace zelhost
