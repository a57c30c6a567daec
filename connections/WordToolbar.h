#pragma once
// The states of the Word command bar: six buttons, with no Get Data and no Stop Repeated
// Measurement, since Word has no trace transfer. Every change to the bar marks the template
// "ZEL.DOT" changed, so each state ends by marking it saved again: Word would otherwise ask the
// user to save the template on leaving. Nothing is trapped: a missing bar or button, or a
// refused property, raises the host's error with the earlier changes kept.
#include <cstdint>
#include <memory>
#include <string>

#include "connections/HostToolbar.h"
#include "office/word/Application.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class WordToolbar {
 public:
  static constexpr int32_t kAbout = HostToolbar::kAbout;
  static constexpr int32_t kConnect = HostToolbar::kConnect;
  static constexpr int32_t kConnected = HostToolbar::kConnected;
  static constexpr int32_t kSettings = 4;
  static constexpr int32_t kScreenImage = 5;
  static constexpr int32_t kHelp = 6;
  static constexpr int32_t kButtons = 6;
  static constexpr const char* kTemplateName = "ZEL.DOT";

  explicit WordToolbar(std::shared_ptr<office::word::Application> app) : app_(std::move(app)) {}

  // Not connected: About, Connect and Help enabled, the connected face hidden, settings and
  // the screen image disabled, every tooltip back to its own text; then the template marked.
  void setInitialState();
  // A connected instrument enables settings and the screen image; then the template marked.
  void enableForConnectedInstrument();
  // The connected face in place of Connect, then its tooltip naming the instrument. The
  // template is left to the caller, who enables the buttons next.
  void showConnected(InstrumentServer* server, const std::string& hostName);
  // Every loaded template named "ZEL.DOT", in any letter case, marked saved.
  void markTemplateSaved();

 private:
  HostToolbar bar();

  std::shared_ptr<office::word::Application> app_;
};

}  // namespace zel
