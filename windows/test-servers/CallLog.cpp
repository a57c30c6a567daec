#include "CallLog.h"

#include "CallLine.h"

#include <mutex>
#include <vector>

#include "automation/TypeInfoBuilder.h"

namespace zeltest {
namespace {

std::mutex linesMutex;
std::vector<std::string> lines;

}  // namespace

void appendCall(std::string line) {
  std::lock_guard lock(linesMutex);
  lines.push_back(std::move(line));
}

std::string CallLog::Text() {
  std::lock_guard lock(linesMutex);
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

void CallLog::Clear() {
  std::lock_guard lock(linesMutex);
  lines.clear();
}

std::string CallLog::Shown(const automation::Variant& value) { return shownValue(value); }

const automation::TypeInfo& CallLog::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<CallLog>("CallLog")
                                               .interface("{0186C332-0936-4785-BF8C-A3B175778A3C}", "CallLog")
                                               .get("Text", 1, &CallLog::Text)
                                               .method("Clear", 2, &CallLog::Clear)
                                               .method("Shown", 3, &CallLog::Shown)
                                               .build();
  return info;
}

}  // namespace zeltest
