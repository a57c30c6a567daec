// The screen image in Excel and Word: the Get Screen Image dialog as the user meets it, the
// picture placed in the active sheet or document through the temporary metafile, the file the
// user names, and what the user sees when a step fails.
#include <fmt/format.h>
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "companions/IoLinkFactory.h"
#include "connections/ExcelDataConnection.h"
#include "connections/frmGetScreenImage.h"
#include "forms/User.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Worksheet.h"
#include "office/word/MemoryAddIns.h"
#include "office/word/MemoryDocument.h"
#include "support/MessageCheck.h"
#include "support/WorkbookSession.h"
#include "win32/Win32.h"

namespace zel {
namespace {

namespace fs = std::filesystem;
namespace excel = office::excel;
using automation::ObjectPtr;
using automation::Variant;
using forms::User;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr const char* kMetafile = R"(C:\TEMP\t52001234.wmf)";

// Excel with a workbook, the control placed in it, a connection bound to it with the control's
// instrument server attached to the simulated analyzer, and drive C: mapped to a temporary
// folder holding C:\TEMP.
class ScreenImage : public testing::WorkbookSession {
 protected:
  ScreenImage() {
    fs::create_directories(folder / "TEMP");
    machine->mapDrive('C', folder);
    machine->setTempPath(R"(C:\TEMP\)");
    machine->setProcessId(1234);
    host.excel->setPathResolver([](const std::string& name) { return win32::toPosixPath(name).value_or(name).string(); });
    server = control->getServer();
    server->Device()->setIoTimeout(2000);
    server->Device()->setIoSession(kro::makeIoLink(address()));
    ObjectPtr app = host.excel;
    ObjectPtr ctl = control;
    int32_t hdc = control->hDC();
    EXPECT_TRUE(connection->Init(app, server, ctl, hdc));
  }
  ~ScreenImage() override { fs::remove_all(folder); }

  std::shared_ptr<excel::Worksheet> activeSheet() { return excel::asWorksheet(host.excel->ActiveSheet()); }
  std::vector<std::shared_ptr<excel::MemoryShape>> pictures() {
    auto sheet = std::dynamic_pointer_cast<excel::MemoryWorksheet>(activeSheet());
    return sheet ? sheet->shapes() : std::vector<std::shared_ptr<excel::MemoryShape>>{};
  }
  // What the analyzer was asked for its screen.
  std::vector<std::string> screenRequests() const {
    std::vector<std::string> requests;
    for (const std::string& command : analyzer.commandLog())
      if (command.starts_with(":HCOP")) requests.push_back(command);
    return requests;
  }
  std::vector<std::string> filesIn(const fs::path& dir) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
  }
  // The user picks an option (or none) and clicks OK.
  enum class Choice { None, Placement, File };
  void answerWith(Choice choice) {
    host.desk.onForm<frmGetScreenImage>([choice](frmGetScreenImage& dialog, User& user) {
      if (choice == Choice::Placement) user.choose(dialog.picturePlacement);
      if (choice == Choice::File) user.choose(dialog.saveToFile);
      user.click(dialog.okButton);
    });
  }

  fs::path folder = fs::temp_directory_path() / fmt::format("zel-screen-{}", ::getpid());
  win32::ScopedMachine machine;
  InstrumentServerPtr server;
  std::shared_ptr<ExcelDataConnection> connection = std::make_shared<ExcelDataConnection>();
};

TEST_F(ScreenImage, TheDialogAsTheUserMeetsItAndTheFileNameGoesToTheAnalyzerAsChosen) {
  host.desk.onForm<frmGetScreenImage>([](frmGetScreenImage& dialog, User& user) {
    EXPECT_EQ(dialog.picturePlacement.Caption(), "Place In Active Sheet at cursor");
    EXPECT_FALSE(dialog.picturePlacement.Value() || dialog.saveToFile.Value());
    EXPECT_TRUE(dialog.okButton.Default());
    EXPECT_TRUE(dialog.cancelButton.Cancel());
    std::vector<std::string> order;
    for (forms::Control* c : dialog.tabOrder()) order.push_back(c->Name());
    EXPECT_THAT(order, ElementsAre("picturePlacement", "saveToFile", "okButton", "cancelButton"));
    user.choose(dialog.saveToFile);
    user.pressEnter();
  });
  host.desk.onFileDialog([](const forms::FileDialogRequest& request) -> std::optional<forms::FileChoice> {
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Save Screen Image");
    EXPECT_EQ(request.flags & (forms::cdlOFNOverwritePrompt | forms::cdlOFNPathMustExist),
              forms::cdlOFNOverwritePrompt | forms::cdlOFNPathMustExist);
    EXPECT_EQ(request.filter,
              "GIF (*.gif)|*.gif|Windows Bitmap (*.bmp)|*.bmp|Windows Metafile (*.wmf)|*.wmf|"
              "JPEG File Interchange Format (*.jpg)|*.jpg|Tagged Image File Format (*.tif)|*.tif|"
              "Windows Enhanced Metafile (*.emf)|*.emf");
    return forms::FileChoice{R"(C:\Shots\trace.bmp)", 2};
  });
  fs::create_directories(folder / "Shots");
  connection->DoPictureTransfer();
  EXPECT_THAT(screenRequests(), ElementsAre(":HCOP:DEV:LANG BMP", ":HCOP:DATA?"));
  EXPECT_THAT(filesIn(folder / "Shots"), ElementsAre("trace.bmp"));
  std::ifstream written(folder / "Shots" / "trace.bmp", std::ios::binary);
  std::string magic(2, '\0');
  written.read(magic.data(), 2);
  EXPECT_EQ(magic, "BM");
  EXPECT_THAT(pictures(), IsEmpty());
}

TEST_F(ScreenImage, CancelledInAnyWayNothingHappens) {
  // Cancel, Esc after choosing, the frame's close box, and a cancelled save dialog.
  const std::function<void(frmGetScreenImage&, User&)> leave[] = {
      [](frmGetScreenImage& d, User& u) { u.click(d.cancelButton); },
      [](frmGetScreenImage& d, User& u) { u.choose(d.picturePlacement); u.pressEscape(); },
      [](frmGetScreenImage&, User& u) { u.closeWindow(); },
      [](frmGetScreenImage& d, User& u) { u.choose(d.saveToFile); u.click(d.okButton); },
  };
  for (const auto& how : leave) host.desk.onForm<frmGetScreenImage>(how);
  host.desk.cancelFileDialog();
  for (size_t i = 0; i < std::size(leave); ++i) connection->DoPictureTransfer();
  host.desk.verify();
  EXPECT_THAT(screenRequests(), IsEmpty());
  EXPECT_THAT(pictures(), IsEmpty());
  EXPECT_THAT(filesIn(folder / "TEMP"), IsEmpty());
}

TEST_F(ScreenImage, ThePictureIsTheAnalyzersScreenAtTheActiveCellSizedForTheScreenResolution) {
  struct Case {
    int dpiX, dpiY;
    Choice choice;
    const char* cell;
    double width, height;
  };
  // 640 x 480 pixels at the screen's resolution; OK with neither option chosen places too.
  const Case cases[] = {{96, 96, Choice::Placement, "C5", 480, 360}, {96, 120, Choice::None, "A3", 480, 288}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell);
    host.desk.setDpi(c.dpiX, c.dpiY);
    activeSheet()->Range(Variant(c.cell))->Select();
    answerWith(c.choice);
    connection->DoPictureTransfer();

    const auto placed = pictures().back();
    const auto cell = activeSheet()->Range(Variant(c.cell));
    EXPECT_EQ(placed->Left(), cell->Left());
    EXPECT_EQ(placed->Top(), cell->Top());
    EXPECT_EQ(placed->Width(), c.width);
    EXPECT_EQ(placed->Height(), c.height);
    // Embedded from the one temporary metafile, which is gone again.
    ASSERT_TRUE(placed->picture());
    EXPECT_EQ(placed->picture()->fileName, kMetafile);
    EXPECT_FALSE(placed->picture()->linked);
    EXPECT_TRUE(placed->picture()->savedWithDocument);
    EXPECT_EQ(std::string(placed->picture()->bytes.begin(), placed->picture()->bytes.begin() + 4), "\xD7\xCD\xC6\x9A");
    EXPECT_THAT(filesIn(folder / "TEMP"), IsEmpty());
  }
  EXPECT_EQ(pictures().size(), 2u);
  EXPECT_EQ(host.excel->Cursor(), excel::xlDefault);
}

// Through the control's Save Screen Image command, as the add-in calls it: a chart sheet is no
// place for the picture, and a file the analyzer cannot write is reported with its reason.
TEST_F(ScreenImage, AFailedTransferIsReportedAndLeavesNothingBehind) {
  control->setConnectedApplication(host.excel);
  automation::callMethod(host.excel->Charts(), "Add", {});
  answerWith(Choice::Placement);
  host.desk.onMessage("Failed to transfer image to application.");
  answerWith(Choice::File);
  host.desk.onFileDialog(R"(C:\Missing\screen.gif)").onMessage("Failed to transfer image to application.");
  control->DoSaveScreenImage();
  control->DoSaveScreenImage();
  ASSERT_EQ(host.desk.messages().size(), 2u);
  testsupport::expectError(host.desk.messages()[0],
                           "Failed to transfer image to application.\r\nError Description: Type mismatch");
  EXPECT_THAT(host.desk.messages()[1].text,
              HasSubstr(R"(Could not write the screen image to 'C:\Missing\screen.gif')"));
  EXPECT_EQ(host.excel->Cursor(), excel::xlDefault);
  EXPECT_THAT(filesIn(folder / "TEMP"), IsEmpty());
  EXPECT_THAT(screenRequests(), ElementsAre(":HCOP:DEV:LANG WMF", ":HCOP:DATA?", ":HCOP:DEV:LANG GIF", ":HCOP:DATA?"));
}

// A second control in a Word document, as the template places it, on the same analyzer.
TEST_F(ScreenImage, InWordThePictureGoesIntoTheActiveDocumentAsWordPlacesItAndNeedsOne) {
  host.startWord();
  host.word->setPathResolver([](const std::string& name) { return win32::toPosixPath(name).value_or(name).string(); });
  auto wordControl = host.placeInDocument();
  wordControl->getServer()->Device()->setIoSession(server->Device()->IoSession());
  wordControl->setConnectedApplication(host.word);
  host.desk.onForm<frmGetScreenImage>([](frmGetScreenImage& dialog, User& user) {
    EXPECT_EQ(dialog.picturePlacement.Caption(), "Place In Active Document");
    user.choose(dialog.picturePlacement);
    user.click(dialog.okButton);
  });
  // Another document opened since: the active one takes the picture, not the control's.
  host.word->Documents()->Add();
  wordControl->DoSaveScreenImage();
  EXPECT_THAT(host.word->documents()[0]->shapes(), IsEmpty());
  const auto& placed = host.word->documents()[1]->shapes();
  ASSERT_EQ(placed.size(), 1u);
  // Nothing but the file name: embedded, at the top left, in the metafile's own size.
  EXPECT_EQ(placed[0]->picture().fileName, kMetafile);
  EXPECT_FALSE(placed[0]->picture().linked);
  EXPECT_EQ(std::make_tuple(placed[0]->Left(), placed[0]->Width(), placed[0]->Height()), std::make_tuple(0, 480, 360));

  while (host.word->Documents()->Count() > 0) host.word->ActiveDocument()->Close();
  answerWith(Choice::Placement);
  host.desk.onMessage("Failed to transfer image to application.");
  wordControl->DoSaveScreenImage();
  ASSERT_EQ(host.desk.messages().size(), 1u);
  EXPECT_EQ(host.desk.messages()[0].text,
            "Failed to transfer image to application.\r\n"
            "Error Description: This command is not available because no document is open.");
  EXPECT_THAT(host.word->system()->cursorsSet(),
              ElementsAre(office::word::wdCursorWait, office::word::wdCursorNormal, office::word::wdCursorWait,
                          office::word::wdCursorNormal));
  EXPECT_THAT(screenRequests(), ElementsAre(":HCOP:DEV:LANG WMF", ":HCOP:DATA?", ":HCOP:DEV:LANG WMF", ":HCOP:DATA?"));
  EXPECT_THAT(filesIn(folder / "TEMP"), IsEmpty());
}

}  // namespace
}  // namespace zel
