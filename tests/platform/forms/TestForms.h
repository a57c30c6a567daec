#pragma once
// Small forms built the way the system's dialogs are built, for the forms tests.
#include <string>
#include <vector>

#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "forms/TextBox.h"

namespace formstest {

// An OK / Cancel dialog with a text box, a check box, a list and two option groups.
class OkCancelForm : public forms::Form {
 public:
  OkCancelForm() : Form("frmTest", "Test Dialog", 4000, 3000) {
    auto design = designTime();
    nameBox.setTabIndex(0);
    nameBox.onChange = [this] { events.push_back("change " + nameBox.Text()); };
    notesBox.setTabIndex(5);
    notesBox.setMultiLine(true);
    okButton.setCaption("OK");
    okButton.setDefault(true);
    okButton.setTabIndex(1);
    okButton.onClick = [this] {
      events.push_back("ok");
      okSelected = true;
      Hide();
    };
    cancelButton.setCaption("Cancel");
    cancelButton.setCancel(true);
    cancelButton.setTabIndex(2);
    cancelButton.onClick = [this] {
      events.push_back("cancel");
      Hide();
    };
    chartBox.setCaption("Make Chart");
    chartBox.setTabIndex(3);
    chartBox.onClick = [this] { events.push_back("chart " + std::to_string(chartBox.Value())); };
    items.setMultiSelect(forms::vbMultiSelectSimple);
    items.setTabIndex(4);
    startFrame.setCaption("Start");
    now.setTabIndex(6);
    later.setTabIndex(7);
    byCount.setTabIndex(8);
    byDuration.setTabIndex(9);
    onLoad = [this] {
      ++loads;
      items.AddItem("Attenuation");
      items.AddItem("Center Frequency");
      items.AddItem("Date/Time");
    };
    onQueryUnload = [this](int& cancel, int mode) {
      events.push_back("queryunload " + std::to_string(mode));
      if (refuseToClose) cancel = 1;
    };
    onUnload = [this](int&) { events.push_back("unload"); };
  }

  forms::TextBox& nameBox = add<forms::TextBox>("nameBox");
  forms::TextBox& notesBox = add<forms::TextBox>("notesBox");
  forms::CommandButton& okButton = add<forms::CommandButton>("okButton");
  forms::CommandButton& cancelButton = add<forms::CommandButton>("cancelButton");
  forms::CheckBox& chartBox = add<forms::CheckBox>("chartBox");
  forms::ListBox& items = add<forms::ListBox>("items");
  forms::Frame& startFrame = add<forms::Frame>("startFrame");
  forms::OptionButton& now = add<forms::OptionButton>("now", &startFrame);
  forms::OptionButton& later = add<forms::OptionButton>("later", &startFrame);
  forms::OptionButton& byCount = add<forms::OptionButton>("byCount");
  forms::OptionButton& byDuration = add<forms::OptionButton>("byDuration");
  forms::Label& note = add<forms::Label>("note");

  bool okSelected = false;
  bool refuseToClose = false;
  int loads = 0;
  std::vector<std::string> events;
};

}  // namespace formstest
