#include "forms/ScriptedDesktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestForms.h"
#include "forms/Clipboard.h"
#include "forms/MsgBox.h"

namespace {

using formstest::OkCancelForm;
using forms::ScriptedDesktop;
using forms::ScriptFailure;
using forms::User;
using testing::ElementsAre;
using testing::HasSubstr;

class ScriptedDesktopTest : public testing::Test {
 protected:
  ScriptedDesktop desk;
  forms::ScopedDesktop use{desk};
};

TEST_F(ScriptedDesktopTest, EnterClicksTheDefaultButtonAndEscTheCancelButton) {
  OkCancelForm form;
  desk.onForm<OkCancelForm>([](OkCancelForm& f, User& user) {
    user.type(f.nameBox, "B3");
    user.pressEnter();  // the focus is in the text box: Enter goes to the default button
  });
  form.Show(forms::vbModal);
  EXPECT_TRUE(form.okSelected);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.events.back(), "ok");

  OkCancelForm second;
  desk.onForm<OkCancelForm>([](OkCancelForm& f, User& user) {
    user.tick(f.chartBox);
    user.pressEscape();
  });
  second.Show(forms::vbModal);
  EXPECT_FALSE(second.okSelected);
  EXPECT_THAT(second.events, ElementsAre("chart 1", "cancel"));
}

TEST_F(ScriptedDesktopTest, EnterClicksTheFocusedButtonAndTypesALineInAMultiLineBox) {
  OkCancelForm form;
  desk.onForm("frmTest", [](forms::Form& f, User& user) {
    auto& form = static_cast<OkCancelForm&>(f);
    user.type(form.notesBox, "a");
    user.pressEnter();
    user.pressKey('b');
    EXPECT_EQ(form.notesBox.Text(), "a\r\nb");
    form.cancelButton.SetFocus();
    user.pressEnter();
  });
  form.Show(forms::vbModal);
  EXPECT_FALSE(form.okSelected);
  EXPECT_EQ(form.events.back(), "cancel");
}

TEST_F(ScriptedDesktopTest, AScriptThatLeavesItsFormOpenFailsNamingTheForm) {
  OkCancelForm form;
  desk.onForm("Test Dialog", [](forms::Form& f, User& user) { user.tick(static_cast<OkCancelForm&>(f).chartBox); });
  try {
    form.Show(forms::vbModal);
    FAIL() << "the script left the form open";
  } catch (const ScriptFailure& e) {
    EXPECT_THAT(e.what(), HasSubstr("\"Test Dialog\" (frmTest)"));
    EXPECT_THAT(e.what(), HasSubstr("still open"));
  }
  EXPECT_FALSE(form.isModal());
  // Kept for verify(), in case the program under test had swallowed the exception.
  EXPECT_THROW(desk.verify(), ScriptFailure);
  EXPECT_EQ(desk.problems(), "") << "verify reports each problem once";
}

TEST_F(ScriptedDesktopTest, UnexpectedOrUnmatchedWindowsFailNamingWhatAppeared) {
  try {
    forms::MsgBox("Data Transfer Failure", forms::vbCritical, "Error");
    FAIL() << "no step was there for the message";
  } catch (const ScriptFailure& e) {
    EXPECT_THAT(e.what(), HasSubstr("unexpected message box \"Error\" [critical] Data Transfer Failure"));
  }

  OkCancelForm form;
  desk.onMessage("is not a valid");
  try {
    form.Show(forms::vbModal);
    FAIL() << "a form came where the script waits for a message";
  } catch (const ScriptFailure& e) {
    EXPECT_THAT(e.what(), HasSubstr("form \"Test Dialog\" (frmTest) appeared"));
    EXPECT_THAT(e.what(), HasSubstr("message box containing \"is not a valid\""));
  }
  desk.onMessage("something else");
  EXPECT_THROW(desk.verify(), ScriptFailure);
}

TEST_F(ScriptedDesktopTest, AStepThatNeverRunsIsReportedByVerify) {
  desk.onForm("Get Data", [](forms::Form&, User&) {});
  try {
    desk.verify();
    FAIL();
  } catch (const ScriptFailure& e) {
    EXPECT_THAT(e.what(), HasSubstr("expected a form \"Get Data\" that never appeared"));
  }
}

TEST(ScriptedDesktopEndTest, ProblemsNobodyVerifiedGoToTheReporter) {
  std::string reported;
  ScriptedDesktop::setReporter([&](const std::string& problems) { reported = problems; });
  {
    ScriptedDesktop desk;
    desk.onMessage("Do Connect Failed");
  }
  {
    ScriptedDesktop desk;  // a clean script reports nothing
    desk.onMessage("x");
    forms::ScopedDesktop use(desk);
    forms::MsgBox("x");
  }
  ScriptedDesktop::setReporter(nullptr);
  EXPECT_EQ(reported, "the script expected a message box containing \"Do Connect Failed\" that never appeared");
}

TEST_F(ScriptedDesktopTest, TheClipboardIsTheDesktopsAndItsChangesAreKept) {
  forms::Clipboard::SetText("old");
  forms::Clipboard::Clear();
  EXPECT_EQ(forms::Clipboard::GetText(), "");
  forms::Clipboard::SetText("a.dll\t1.0\r\nb.dll\t2.0");
  EXPECT_EQ(forms::Clipboard::GetText(), "a.dll\t1.0\r\nb.dll\t2.0");
  EXPECT_THAT(desk.lines(forms::TranscriptEntry::Kind::Clipboard),
              ElementsAre("set old", "cleared", "set a.dll\t1.0\\nb.dll\t2.0"));
}

TEST_F(ScriptedDesktopTest, MessageBoxesAreKeptWithTheirTitleAsShownAndTheirAnswer) {
  desk.onMessage("\"1x\" is not a valid")
      .onMessage("Replace", forms::vbNo)
      .onMessage("Failed", [](const forms::MessageBoxShown& box) { return forms::vbOK; });

  EXPECT_EQ(forms::MsgBox("\"1x\" is not a valid for a start Cell"), forms::vbOK);
  EXPECT_EQ(forms::MsgBox("Replace the file?", forms::vbYesNo + forms::vbQuestion, "Save"), forms::vbNo);
  forms::MsgBox("Failed to transfer image to application.\r\nError Description: x", forms::vbCritical, "Error");

  ASSERT_EQ(desk.messages().size(), 3u);
  EXPECT_EQ(desk.messages()[0].title, "ZELControlProj");
  EXPECT_EQ(desk.messages()[0].icon(), 0);
  EXPECT_EQ(desk.messages()[1].answer, forms::vbNo);
  EXPECT_EQ(desk.messages()[2].icon(), forms::vbCritical);
  EXPECT_THAT(desk.lines(),
              ElementsAre("message \"ZELControlProj\" \"1x\" is not a valid for a start Cell -> OK",
                          "message \"Save\" [question] Replace the file? -> No",
                          "message \"Error\" [critical] Failed to transfer image to application.\\nError "
                          "Description: x -> OK"));
}

TEST_F(ScriptedDesktopTest, AnAnswerTheBoxDoesNotOfferIsAScriptFailure) {
  desk.onMessage("", forms::vbYes);
  EXPECT_THROW(forms::MsgBox("Done"), ScriptFailure);
  EXPECT_THROW(desk.verify(), ScriptFailure);
}

TEST_F(ScriptedDesktopTest, NestedModalFormsAreShownWithTheirOwner) {
  OkCancelForm outer;
  OkCancelForm inner;
  inner.setCaption("Repeated Measurements");
  outer.okButton.onClick = [&] {
    inner.Show(forms::vbModal, &outer);
    outer.Hide();
  };
  desk.onForm("Test Dialog", [](forms::Form&, User& user) { user.pressEnter(); })
      .onForm("Repeated Measurements", [](forms::Form&, User& user) { user.closeWindow(); });
  outer.Show(forms::vbModal);
  EXPECT_THAT(desk.formsShown(), ElementsAre("Test Dialog (frmTest)", "Repeated Measurements (frmTest) owner frmTest"));
  EXPECT_FALSE(inner.isLoaded());
}

TEST_F(ScriptedDesktopTest, APersonCannotUseWhatIsDisabledHiddenOrNotShown) {
  OkCancelForm form;
  form.okButton.setEnabled(false);
  desk.onForm("frmTest", [](forms::Form& f, User& user) {
    auto& form = static_cast<OkCancelForm&>(f);
    EXPECT_THROW(user.click(form.okButton), ScriptFailure);
    user.pressEnter();  // a disabled default button is not clicked by Enter either
    EXPECT_TRUE(form.isShown());
    form.startFrame.setVisible(false);
    EXPECT_THROW(user.choose(form.later), ScriptFailure);
    user.click(form.cancelButton);
  });
  form.Show(forms::vbModal);
  EXPECT_THROW(User().click(form.cancelButton), ScriptFailure) << "the form is hidden now";
  try {
    desk.verify();
    FAIL();
  } catch (const ScriptFailure& e) {
    EXPECT_THAT(e.what(), HasSubstr("cannot click frmTest.okButton: it is disabled"));
    EXPECT_THAT(e.what(), HasSubstr("cannot click frmTest.later: it is hidden"));
    EXPECT_THAT(e.what(), HasSubstr("cannot click frmTest.cancelButton: its form is not shown"));
  }
}

TEST_F(ScriptedDesktopTest, FileDialogsAreAnsweredAndRecorded) {
  desk.onFileDialog("C:\\data\\trace.bmp", 2).cancelFileDialog();
  forms::FileDialogRequest request;
  request.save = true;
  request.title = "Save Screen Image";
  auto chosen = desk.fileDialog(request);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->fileName, "C:\\data\\trace.bmp");
  EXPECT_FALSE(desk.fileDialog(request));
  EXPECT_THAT(desk.lines(forms::TranscriptEntry::Kind::FileDialog),
              ElementsAre("save dialog \"Save Screen Image\" -> C:\\data\\trace.bmp",
                          "save dialog \"Save Screen Image\" -> cancelled"));
}

}  // namespace
