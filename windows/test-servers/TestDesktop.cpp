#include "TestDesktop.h"

#include "automation/TypeInfoBuilder.h"

namespace zeltest {

namespace {

// vbOK, vbAbort, vbYes or vbRetry: what Enter presses on a box of these buttons.
int32_t firstButton(int32_t style) {
  switch (style & 0x7) {
    case 2: return 3;      // vbAbortRetryIgnore
    case 3: case 4: return 6;  // vbYesNoCancel, vbYesNo
    case 5: return 4;      // vbRetryCancel
    default: return 1;
  }
}

std::string lines(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\n";
  return text;
}

}  // namespace

automation::ObjectPtr TestDesktop::instance() {
  static const automation::ObjectPtr desktop = std::make_shared<TestDesktop>();
  return desktop;
}

void TestDesktop::OnForm(const std::string& nameOrCaption, const automation::Variant& actions) {
  steps_.push_back({.form = true, .match = nameOrCaption, .actions = actions});
}

void TestDesktop::OnMessage(const std::string& containing, int32_t answer) {
  steps_.push_back({.form = false, .match = containing, .answer = answer});
}

std::string TestDesktop::Transcript() const { return lines(transcript_); }

std::string TestDesktop::Problems() const {
  std::vector<std::string> all = problems_;
  for (const Step& step : steps_)
    all.push_back(std::string("never shown: the ") + (step.form ? "form " : "message ") + step.match);
  return lines(all);
}

void TestDesktop::Clear() {
  steps_.clear();
  transcript_.clear();
  problems_.clear();
}

automation::Variant TestDesktop::ShowForm(const std::string& name, const std::string& caption) {
  transcript_.push_back("form " + name + " (" + caption + ")");
  if (steps_.empty() || !steps_.front().form || (steps_.front().match != name && steps_.front().match != caption)) {
    problems_.push_back("not scripted: the form " + name);
    return {};
  }
  automation::Variant actions = steps_.front().actions;
  steps_.pop_front();
  return actions;
}

int32_t TestDesktop::MsgBox(const std::string& text, int32_t style, const std::string& title) {
  transcript_.push_back("message " + title + " " + std::to_string(style) + ": " + text);
  if (steps_.empty() || steps_.front().form || text.find(steps_.front().match) == std::string::npos) {
    problems_.push_back("not scripted: the message " + text);
    return firstButton(style);
  }
  const int32_t answer = steps_.front().answer;
  steps_.pop_front();
  return answer != 0 ? answer : firstButton(style);
}

void TestDesktop::Problem(const std::string& text) { problems_.push_back(text); }

const automation::TypeInfo& TestDesktop::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<TestDesktop>("Desktop")
                                               .interface("{6B2C4E1D-8A53-4F0B-9C7E-3D1A5F60B284}", "Desktop")
                                               .method("OnForm", 1, &TestDesktop::OnForm)
                                               .method("OnMessage", 2, &TestDesktop::OnMessage)
                                               .get("Transcript", 3, &TestDesktop::Transcript)
                                               .get("Problems", 4, &TestDesktop::Problems)
                                               .method("Clear", 5, &TestDesktop::Clear)
                                               .method("ShowForm", 6, &TestDesktop::ShowForm)
                                               .method("MsgBox", 7, &TestDesktop::MsgBox)
                                               .method("Problem", 8, &TestDesktop::Problem)
                                               .build();
  return info;
}

}  // namespace zeltest
