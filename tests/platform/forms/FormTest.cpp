#include "forms/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestForms.h"
#include "forms/MsgBox.h"
#include "forms/ScriptedDesktop.h"

namespace {

using formstest::OkCancelForm;
using forms::ScriptedDesktop;
using forms::User;
using testing::ElementsAre;

class FormTest : public testing::Test {
 protected:
  ScriptedDesktop desk;
  forms::ScopedDesktop use{desk};
};

TEST_F(FormTest, TouchingAControlOrPropertyLoadsTheFormOnce) {
  OkCancelForm form;
  EXPECT_FALSE(form.isLoaded());
  EXPECT_EQ(form.loads, 0) << "building the controls must not load the form";

  EXPECT_EQ(form.items.ListCount(), 3);  // the Load handler filled the list
  EXPECT_TRUE(form.isLoaded());
  form.nameBox.setText("x");
  form.setCaption("yuck");
  EXPECT_EQ(form.loads, 1);
}

TEST_F(FormTest, UnloadPutsControlsBackAndTheNextTouchLoadsAgain) {
  OkCancelForm form;
  form.nameBox.setText("B3");
  form.chartBox.setValue(forms::vbChecked);
  form.setCaption("Changed");
  form.okButton.setEnabled(false);

  forms::Unload(form);
  EXPECT_FALSE(form.isLoaded());
  EXPECT_THAT(form.events, testing::IsSupersetOf({"queryunload 1", "unload"}));

  EXPECT_EQ(form.nameBox.Text(), "");
  EXPECT_EQ(form.chartBox.Value(), forms::vbUnchecked);
  EXPECT_EQ(form.Caption(), "Test Dialog");
  EXPECT_TRUE(form.okButton.Enabled());
  EXPECT_EQ(form.items.ListCount(), 3) << "the list is refilled by the second Load, not doubled";
  EXPECT_EQ(form.loads, 2);
}

TEST_F(FormTest, UnloadingAFormThatIsNotLoadedDoesNothing) {
  OkCancelForm form;
  forms::Unload(form);
  EXPECT_EQ(form.loads, 0);
  EXPECT_TRUE(form.events.empty());
}

TEST_F(FormTest, QueryUnloadSeesTheUnloadModeAndCanCancel) {
  OkCancelForm form;
  form.refuseToClose = true;
  desk.onForm("frmTest", [](forms::Form& f, User& user) {
    user.closeWindow();  // refused: the form stays up
    EXPECT_TRUE(f.isShown());
    static_cast<OkCancelForm&>(f).refuseToClose = false;
    user.closeWindow();
  });
  form.Show(forms::vbModal);

  EXPECT_FALSE(form.isLoaded());
  EXPECT_THAT(form.events, ElementsAre("queryunload 0", "queryunload 0", "unload"));

  form.refuseToClose = true;
  form.Show(forms::vbModeless);
  forms::Unload(form);
  EXPECT_TRUE(form.isLoaded()) << "Unload from code can be refused too";
  EXPECT_EQ(form.events.back(), "queryunload 1");
}

TEST_F(FormTest, ShowingAShownFormModallyRaises400) {
  OkCancelForm form;
  form.Show(forms::vbModeless);
  try {
    form.Show(forms::vbModal);
    FAIL() << "expected error 400";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 400);
  }
}

TEST_F(FormTest, ShowGivesTheFocusToTheFirstReachableControlInTabOrder) {
  OkCancelForm form;
  form.nameBox.setEnabled(false);
  form.startFrame.setVisible(false);
  form.byCount.setEnabled(false);
  form.byDuration.setTabStop(false);
  desk.onForm("Test Dialog", [](forms::Form& f, User& user) {
    EXPECT_EQ(f.ActiveControl(), &static_cast<OkCancelForm&>(f).okButton);
    for (int i = 0; i < 4; ++i) user.pressTab();
    EXPECT_EQ(f.ActiveControl(), &static_cast<OkCancelForm&>(f).notesBox);
    user.pressTab();  // round to the start, past everything that cannot be reached
    user.pressEscape();
  });
  form.Show(forms::vbModal);
  EXPECT_THAT(desk.focusMoves(), ElementsAre("frmTest.okButton", "frmTest.cancelButton", "frmTest.chartBox",
                                             "frmTest.items", "frmTest.notesBox", "frmTest.okButton"));
}

TEST_F(FormTest, SetFocusRaises5WhereVBRefuses) {
  OkCancelForm form;
  auto expect5 = [](forms::Control& c, const char* why) {
    try {
      c.SetFocus();
      ADD_FAILURE() << "SetFocus on " << c.Name() << " should raise 5: " << why;
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 5) << why;
      EXPECT_EQ(e.description(), "Invalid procedure call or argument");
    }
  };
  expect5(form.nameBox, "the form is not shown");

  form.Show(forms::vbModeless);
  form.nameBox.setEnabled(false);
  expect5(form.nameBox, "the control is disabled");
  form.chartBox.setVisible(false);
  expect5(form.chartBox, "the control is hidden");
  form.startFrame.setEnabled(false);
  expect5(form.now, "its frame is disabled");
  expect5(form.note, "a label never takes the focus");

  form.later.setVisible(true);
  form.startFrame.setEnabled(true);
  form.later.SetFocus();
  EXPECT_EQ(form.ActiveControl(), &form.later);
  form.Hide();
  expect5(form.later, "the form is hidden again");
}

TEST_F(FormTest, ResizeFiresOnFirstShowAndWhenTheUserDragsTheFrame) {
  OkCancelForm form;
  std::vector<int> widths;
  form.onResize = [&] { widths.push_back(form.ScaleWidth()); };
  desk.onForm("frmTest", [](forms::Form&, User& user) {
    user.resize(7000, 100);
    user.resize(150, 100);
    user.pressEnter();
  });
  form.Show(forms::vbModal);
  EXPECT_THAT(widths, ElementsAre(4000, 7000, 150));
  EXPECT_EQ(form.Width(), 150 + forms::Form::kFrameWidth);
}

TEST_F(FormTest, ActivateFiresOnShowAndAgainWhenAnOwnedModalFormCloses) {
  OkCancelForm owner;
  OkCancelForm dialog;
  std::vector<std::string> activations;
  owner.onActivate = [&] { activations.push_back("owner"); };
  dialog.onActivate = [&] { activations.push_back("dialog"); };
  owner.okButton.onClick = [&] { dialog.Show(forms::vbModal, &owner); };
  desk.onForm("frmTest", [&](forms::Form&, User& user) {
    EXPECT_THAT(activations, ElementsAre("owner", "dialog"));
    user.pressEscape();
  });
  owner.Show(forms::vbModeless);
  forms::User(&owner).pressEnter();
  EXPECT_THAT(activations, ElementsAre("owner", "dialog", "owner"));
  desk.verify();
}

TEST_F(FormTest, AModelessFormCannotBeShownWhileAModalOneIsUp) {
  OkCancelForm modal;
  OkCancelForm other;
  int error = 0;
  desk.onForm("frmTest", [&](forms::Form&, User& user) {
    try {
      other.Show(forms::vbModeless);
    } catch (const automation::Error& e) {
      error = e.number();
    }
    user.pressEscape();
  });
  modal.Show(forms::vbModal);
  EXPECT_EQ(error, 401);
  EXPECT_FALSE(other.Visible());
  other.Show(forms::vbModeless);  // fine once the modal form is gone
  EXPECT_TRUE(other.Visible());
}

TEST_F(FormTest, HideLoadsAFormWithoutShowingIt) {
  OkCancelForm form;
  form.Hide();
  EXPECT_TRUE(form.isLoaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(desk.formsShown().empty());
}

TEST(HeadlessDesktopTest, ShowingAnythingWithoutADesktopIsAProgramErrorNamingIt) {
  OkCancelForm form;
  try {
    form.Show(forms::vbModal);
    FAIL();
  } catch (const std::logic_error& e) {
    EXPECT_THAT(e.what(), testing::HasSubstr("\"Test Dialog\" (frmTest)"));
  }
  EXPECT_FALSE(form.isModal());
  EXPECT_THROW(forms::MsgBox("Hello"), std::logic_error);
}

TEST_F(FormTest, AFailingLoadLeavesTheFormUnloaded) {
  OkCancelForm form;
  form.onLoad = [] { throw automation::Error::vb(91); };
  EXPECT_THROW(form.nameBox.Text(), automation::Error);
  EXPECT_FALSE(form.isLoaded());
}

}  // namespace
