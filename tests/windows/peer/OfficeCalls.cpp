// office_calls: the Linux build's half of the comparison the Windows test run makes: the Get
// Data scenario of GetData.vbs (GetDataScenario.h), with the Excel seen through the late-bound
// views as in the Windows build.
//   office_calls ADDRESS ANSWERS
// prints on stdout the calls the control made into Excel, a line "--", then the cells.
// What was shown goes to stderr; exit status 1 when the run failed or did not go as
// answered, 2 for a usage error.
#include <fstream>
#include <iostream>

#include "GetDataScenario.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: office_calls ADDRESS ANSWERS\n";
    return 2;
  }
  std::ifstream answers(argv[2]);
  if (!answers) {
    std::cerr << "office_calls: cannot read " << argv[2] << "\n";
    return 2;
  }
  try {
    const zeltest::ScenarioResult result = zeltest::playGetData(argv[1], answers, true);
    for (const std::string& line : result.calls) std::cout << line << '\n';
    std::cout << "--\n";
    for (const std::string& line : result.cells) std::cout << line << '\n';
    std::cerr << result.transcript;
    if (result.problems.empty()) return 0;
    std::cerr << "office_calls: not as answered:\n" << result.problems;
  } catch (const std::exception& e) {
    std::cerr << "office_calls: " << e.what() << "\n";
  }
  return 1;
}
