#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include "TestForms.h"
#include "automation/Clock.h"
#include "forms/Clipboard.h"
#include "forms/CommonDialog.h"
#include "forms/DateTimePicker.h"
#include "forms/Image.h"
#include "forms/ImageList.h"
#include "forms/ListView.h"
#include "forms/ScriptedDesktop.h"
#include "forms/Toolbar.h"
#include "forms/UserControl.h"
#include "forms/VBControlExtender.h"

namespace {

using testsupport::errorOf;

using automation::Date;
using formstest::OkCancelForm;
using forms::ScriptedDesktop;
using forms::User;
using testing::ElementsAre;

class ControlsTest : public testing::Test {
 protected:
  ScriptedDesktop desk;
  forms::ScopedDesktop use{desk};
};

TEST_F(ControlsTest, OptionButtonsClearTheOthersOfTheirGroupOnly) {
  OkCancelForm form;
  std::vector<std::string> clicks;
  form.later.onClick = [&] { clicks.push_back("later"); };
  form.byCount.onClick = [&] { clicks.push_back("byCount"); };

  form.now.setValue(true);
  form.byCount.setValue(true);
  form.later.setValue(true);  // the frame's group
  EXPECT_FALSE(form.now.Value());
  EXPECT_TRUE(form.byCount.Value()) << "the group directly on the form is another group";

  form.byDuration.setValue(true);
  EXPECT_FALSE(form.byCount.Value());
  EXPECT_TRUE(form.later.Value());

  form.later.setValue(true);  // already selected: no second Click
  form.later.setValue(false);
  EXPECT_FALSE(form.now.Value() || form.later.Value()) << "clearing one selects no other";
  EXPECT_THAT(clicks, ElementsAre("byCount", "later"));
}

TEST_F(ControlsTest, CheckBoxClickFiresWhenTheValueChanges) {
  OkCancelForm form;
  form.chartBox.setValue(forms::vbChecked);
  form.chartBox.setValue(forms::vbChecked);
  form.chartBox.setValue(forms::vbGrayed);
  EXPECT_EQ(errorOf([&] { form.chartBox.setValue(3); }), 380);
  form.Show(forms::vbModeless);
  User().click(form.chartBox);  // a person's click takes a grayed box to cleared
  User().click(form.chartBox);
  EXPECT_THAT(form.events, ElementsAre("chart 1", "chart 2", "chart 0", "chart 1"));
}

TEST_F(ControlsTest, TypingGoesThroughKeyPressMaxLengthAndChange) {
  OkCancelForm form;
  form.nameBox.setMaxLength(3);
  form.nameBox.onKeyPress = [](int& key) {
    if (key == '$') key = 0;                      // swallowed
    if (key >= 'a' && key <= 'z') key -= 32;  // upper-cased
  };
  form.Show(forms::vbModeless);
  User().type(form.nameBox, "$b$3x9");
  EXPECT_EQ(form.nameBox.Text(), "B3X");
  EXPECT_THAT(form.events, ElementsAre("change B", "change B3", "change B3X"));

  form.events.clear();
  form.nameBox.setText("B3X");  // same text: no Change
  form.nameBox.setText("A1");   // longer than MaxLength is fine from code
  form.nameBox.setSelStart(1);
  form.nameBox.setSelLength(5);
  EXPECT_EQ(form.nameBox.SelLength(), 1);
  form.nameBox.setSelText("7");
  User().type(form.nameBox, "");
  EXPECT_THAT(form.events, ElementsAre("change A1", "change A7", "change "));
}

TEST_F(ControlsTest, BackspaceAndALockedBox) {
  OkCancelForm form;
  std::vector<int> keys;
  form.nameBox.onKeyPress = [&](int& key) { keys.push_back(key); };
  form.nameBox.setText("B35");
  form.Show(forms::vbModeless);
  User(&form).focus(form.nameBox);
  form.nameBox.setSelStart(3);
  User(&form).pressKey(forms::vbKeyBack);
  EXPECT_EQ(form.nameBox.Text(), "B3");
  form.nameBox.setSelStart(0);
  User(&form).pressKey(forms::vbKeyBack);  // nothing before the caret
  EXPECT_EQ(form.nameBox.Text(), "B3");

  form.nameBox.setLocked(true);
  User().type(form.nameBox, "C4");
  EXPECT_EQ(form.nameBox.Text(), "B3") << "a locked box takes no typing";
  EXPECT_THAT(keys, ElementsAre(forms::vbKeyBack, forms::vbKeyBack, 'C', '4')) << "but KeyPress still fires";
}

TEST_F(ControlsTest, SortedListsPutItemsInPlaceWithoutRegardToCase) {
  OkCancelForm form;
  form.items.Clear();
  form.items.setSorted(true);
  for (const char* item : {"Video BW", "attenuation", "Sweep Time", "Center Frequency"}) form.items.AddItem(item);
  std::vector<std::string> shown;
  for (int i = 0; i < form.items.ListCount(); ++i) shown.push_back(form.items.List(i));
  EXPECT_THAT(shown, ElementsAre("attenuation", "Center Frequency", "Sweep Time", "Video BW"));
}

TEST_F(ControlsTest, LabelsAndImagesTakeClicksButNeverTheFocus) {
  OkCancelForm form;
  auto& logo = form.add<forms::Image>("imgCorvane");
  int clicks = 0;
  form.note.onClick = [&] { ++clicks; };
  logo.onClick = [&] { ++clicks; };
  form.Show(forms::vbModeless);
  form.cancelButton.SetFocus();
  User().click(form.note);
  User().click(logo);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(form.ActiveControl(), &form.cancelButton);
  logo.setVisible(false);
  EXPECT_THROW(User().click(logo), forms::ScriptFailure);
  EXPECT_THROW(desk.verify(), forms::ScriptFailure);
}

TEST_F(ControlsTest, ListBoxSelectionInEachMultiSelectMode) {
  OkCancelForm form;
  auto& list = form.items;  // simple multi-selection
  int clicks = 0;
  list.onClick = [&] { ++clicks; };
  form.Show(forms::vbModeless);
  User().select(list, {0, 2});
  EXPECT_EQ(list.SelCount(), 2);
  EXPECT_TRUE(list.Selected(0) && !list.Selected(1) && list.Selected(2));
  User().select(list, {1});
  EXPECT_EQ(list.SelCount(), 1);
  EXPECT_EQ(clicks, 5);

  list.setMultiSelect(forms::vbMultiSelectExtended);
  User().clickItem(list, 2);
  EXPECT_EQ(list.SelCount(), 1) << "a plain click in an extended list selects just that item";
  User().clickItem(list, 0, true);
  EXPECT_EQ(list.SelCount(), 2);

  list.setMultiSelect(forms::vbMultiSelectNone);
  list.setListIndex(1);
  EXPECT_EQ(list.SelCount(), 1);
  EXPECT_EQ(list.Text(), "Center Frequency");
  list.AddItem("Attack", 0);
  EXPECT_EQ(list.ListIndex(), 2) << "the current item keeps its place when one is inserted above";
  EXPECT_EQ(list.List(99), "");
  EXPECT_EQ(errorOf([&] { list.Selected(99); }), 381);
  EXPECT_EQ(errorOf([&] { list.AddItem("x", 99); }), 5);
  list.Clear();
  EXPECT_EQ(list.ListIndex(), -1);
}

class VersionForm : public forms::Form {
 public:
  VersionForm() : Form("FrmVersionInfo", "Component Version Information", 7365, 4020) {
    auto design = designTime();
    view.setView(forms::lvwReport);
    view.ColumnHeaders().Add(0, "", "File");
    view.ColumnHeaders().Add(0, "", "Version");
    view.onKeyPress = [this](int& key) {
      if (key == forms::vbKeyCtrlC) {
        forms::Clipboard::Clear();
        forms::Clipboard::SetText(view.ListItems().Item(1).Text());
      }
    };
  }
  forms::ListView& view = add<forms::ListView>("lstViewInfo");
};

TEST_F(ControlsTest, ListViewRowsGoWhereAddPutsThemAndSubItemsStopAtTheColumns) {
  VersionForm form;
  auto& items = form.view.ListItems();
  items.Add(1, "", "A.dll").setSubItems(1, "1.0");
  items.Add(1, "", "B.dll");
  items.Add(0, "k", "C.dll");
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Item(1).Text(), "B.dll");
  EXPECT_EQ(items.Item(2).SubItems(1), "1.0");
  EXPECT_EQ(items.Item("k").Index(), 3);
  EXPECT_EQ(errorOf([&] { items.Item(1).setSubItems(2, "x"); }), 380);
  EXPECT_EQ(errorOf([&] { items.Add(0, "k", "again"); }), 35602);
  EXPECT_EQ(errorOf([&] { items.Add(5); }), 35600);

  form.Show(forms::vbModeless);
  User().focus(form.view);
  User(&form).pressKey(forms::vbKeyCtrlC);
  EXPECT_EQ(forms::Clipboard::GetText(), "B.dll");

  forms::Unload(form);  // closing empties the list; the columns are design-time
  EXPECT_EQ(form.view.ListItems().Count(), 0);
  EXPECT_EQ(form.view.ColumnHeaders().Count(), 2);
}

TEST_F(ControlsTest, DateTimePickerPartsAndText) {
  automation::FakeClock clock(Date::fromParts(2026, 1, 31, 14, 5, 9));
  automation::ScopedClock useClock(clock);
  OkCancelForm form;
  auto& picker = form.add<forms::DateTimePicker>("startDate");
  EXPECT_EQ(picker.Value(), clock.now());

  picker.setMonth(2);  // no 31 February: the last day instead
  EXPECT_EQ(picker.Value(), Date::fromParts(2026, 2, 28, 14, 5, 9));
  EXPECT_EQ(errorOf([&] { picker.setDay(30); }), 380);
  picker.setYear(2028);
  picker.setDay(29);
  EXPECT_EQ(picker.Day(), 29);

  picker.setFormat(forms::dtpShortDate);
  EXPECT_EQ(picker.Text(), "2/29/2028");
  picker.setFormat(forms::dtpTime);
  EXPECT_EQ(picker.Text(), "2:05:09 PM");
  picker.setFormat(forms::dtpLongDate);
  EXPECT_EQ(picker.Text(), "Tuesday, February 29, 2028");
  picker.setFormat(forms::dtpCustom);
  picker.setCustomFormat("HH:mm 'on' ddd d MMM yy");
  EXPECT_EQ(picker.Text(), "14:05 on Tue 29 Feb 28");

  int changes = 0;
  picker.onChange = [&] { ++changes; };
  picker.setValue(Date::fromParts(2027, 1, 1));
  form.Show(forms::vbModeless);
  User().pick(picker, Date::fromParts(2027, 1, 2));
  EXPECT_EQ(changes, 1) << "Change is the user's, not code's";
}

TEST_F(ControlsTest, ToolbarButtonsByKeyWithImagesAndClicks) {
  forms::UserControl control("ZELControl");
  auto& images = control.add<forms::ImageList>("ImageList1");
  auto& bar = control.add<forms::Toolbar>("Toolbar1");
  for (const char* name : {"about", "connect", "setups", "connected"}) images.Add(0, "", name);
  bar.setImageList(&images);
  bar.Buttons().Add(0, "about", "", forms::tbrDefault, 1).setToolTipText("About");
  bar.Buttons().Add(0, "connect", "", forms::tbrDefault, 2);
  bar.Buttons().Add(0, "setups", "", forms::tbrDefault, 3).setEnabled(false);

  std::vector<std::string> keys;
  bar.onButtonClick = [&](forms::Button& b) { keys.push_back(b.Key()); };
  User user;
  user.clickButton(bar, "connect");
  user.clickButton(bar, "about");
  EXPECT_THROW(user.clickButton(bar, "setups"), forms::ScriptFailure);
  EXPECT_THROW(user.clickButton(bar, "About"), forms::ScriptFailure) << "keys compare exactly";
  EXPECT_THAT(keys, ElementsAre("connect", "about"));
  EXPECT_THROW(desk.verify(), forms::ScriptFailure);

  bar.Buttons().Add(0, "live", "", forms::tbrCheck);
  user.clickButton(bar, "live");
  EXPECT_TRUE(bar.Buttons()("live").Value()) << "a check button stays pressed";

  bar.Buttons()("connect").setImage(4);
  EXPECT_EQ(bar.Buttons().Item(2).Image(), 4);
  EXPECT_EQ(errorOf([&] { bar.Buttons()("connect").setImage(5); }), 35600);
  EXPECT_EQ(errorOf([&] { bar.Buttons()("nothing"); }), 35601);
}

class ScheduleControl : public forms::UserControl {
 public:
  ScheduleControl() : UserControl("repMeasControl", 4515, 3015) {
    seconds.setTabIndex(1);
    hours.setTabIndex(0);
  }
  forms::TextBox& hours = add<forms::TextBox>("intervalHours");
  forms::TextBox& seconds = add<forms::TextBox>("intervalSeconds");
};

class HostForm : public forms::Form {
 public:
  HostForm() : Form("FrmRepeatedMeasurements", "Repeated Measurements") {
    auto design = designTime();
    ok.setTabIndex(0);
    ok.setDefault(true);
    ok.onClick = [this] { Hide(); };
    host.setTabIndex(2);
    host.setObject(schedule);
    onLoad = [this] { ++loads; };
  }
  forms::CommandButton& ok = add<forms::CommandButton>("okButton");
  forms::VBControlExtender& host = add<forms::VBControlExtender>("repMeasControl1");
  std::shared_ptr<ScheduleControl> schedule = std::make_shared<ScheduleControl>();
  int loads = 0;
};

TEST_F(ControlsTest, AHostedUserControlJoinsTheFormsTabOrderAndFocus) {
  HostForm form;
  EXPECT_EQ(form.host.object<ScheduleControl>(), form.schedule);
  EXPECT_EQ(form.loads, 1) << "reaching the hosted object loads the form";
  EXPECT_EQ(errorOf([&] { form.host.object<forms::Form>(); }), 13);

  desk.onForm("Repeated Measurements", [](forms::Form& f, User& user) {
    auto& form = static_cast<HostForm&>(f);
    user.type(form.schedule->seconds, "5");
    EXPECT_EQ(form.ActiveControl(), &form.schedule->seconds);
    EXPECT_EQ(form.schedule->ActiveControl(), &form.schedule->seconds);
    user.pressTab();
    user.pressEnter();
  });
  form.Show(forms::vbModal);
  EXPECT_THAT(desk.focusMoves(), ElementsAre("FrmRepeatedMeasurements.okButton",
                                             "FrmRepeatedMeasurements.repMeasControl1.intervalSeconds",
                                             "FrmRepeatedMeasurements.okButton"));
  EXPECT_THROW(form.schedule->hours.SetFocus(), automation::Error) << "the hosting form is hidden";

  ScheduleControl alone;  // held by a client directly: its own focus, always reachable
  alone.hours.SetFocus();
  EXPECT_EQ(alone.ActiveControl(), &alone.hours);
}

TEST_F(ControlsTest, CommonDialogTakesTheChoiceOrReportsTheCancel) {
  OkCancelForm form;
  auto& dialog = form.add<forms::CommonDialog>("saveAs");
  dialog.setDialogTitle("Save Screen Image");
  dialog.setFilter("GIF (*.gif)|*.gif|Windows Bitmap (*.bmp)|*.bmp");
  dialog.setFlags(forms::cdlOFNOverwritePrompt | forms::cdlOFNPathMustExist);
  desk.onFileDialog([](const forms::FileDialogRequest& r) {
        EXPECT_TRUE(r.save);
        EXPECT_EQ(r.flags, 0x802);
        EXPECT_THAT(r.filters(), ElementsAre(std::pair<std::string, std::string>{"GIF (*.gif)", "*.gif"},
                                             std::pair<std::string, std::string>{"Windows Bitmap (*.bmp)", "*.bmp"}));
        return forms::FileChoice{"C:\\data\\trace.bmp", 2};
      })
      .cancelFileDialog()
      .cancelFileDialog();
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName(), "C:\\data\\trace.bmp");
  EXPECT_EQ(dialog.FileTitle(), "trace.bmp");
  EXPECT_EQ(dialog.FilterIndex(), 2);

  dialog.setFileName("");
  dialog.ShowSave();
  EXPECT_EQ(dialog.FileName(), "");
  dialog.setCancelError(true);
  EXPECT_EQ(errorOf([&] { dialog.ShowSave(); }), 32755);
}

}  // namespace
