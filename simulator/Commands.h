#pragma once
// The analyzer's command tree: each header with what setting it and querying it do.
#include <string>
#include <vector>

#include "simulator/Analyzer.h"
#include "simulator/HeaderPattern.h"

namespace sim {

struct Commands {
  struct Entry {
    HeaderPattern pattern;
    Analyzer::SetHandler set;      // null: query only
    Analyzer::QueryHandler query;  // null: no query form
  };

  static const std::vector<Entry>& table();
  // The entry the nodes name in the wanted form (set or query); `suffix` receives the numeric
  // suffix of the header (TRAC2 gives 2).
  static const Entry* find(const std::vector<std::string>& nodes, bool query, int* suffix = nullptr);
};

}  // namespace sim
