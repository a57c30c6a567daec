#pragma once
// Reading instrument address texts of the "RESOURCE::part::part::CLASS" form.
#include <string_view>
#include <vector>

namespace kro {

// The parts between "::" separators, as given.
std::vector<std::string_view> splitVisaAddress(std::string_view address);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
// `part` is `kind` followed by an optional board number ("TCPIP", "TCPIP0", "gpib1").
bool isVisaResource(std::string_view part, std::string_view kind);

}  // namespace kro
