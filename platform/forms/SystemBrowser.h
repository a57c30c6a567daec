#pragma once
// The browser of this machine, for a desktop that has none of its own. In a graphical session
// ($DISPLAY or $WAYLAND_DISPLAY set) the address goes to the desktop's opener, xdg-open; on a
// terminal alone it is printed, so that the person there can open it wherever they read it.
#include <iosfwd>
#include <string>

namespace forms {

// True when the opener took the address, or when it was printed; false when the opener could
// not be started or reported that it failed.
bool openInSystemBrowser(const std::string& url, std::ostream& terminal);

}  // namespace forms
