#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/Error.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "office/excel/Workbooks.h"
#include "office/word/MemoryAddIns.h"
#include "support/ErrorOf.h"
#include "support/HostFixture.h"
#include "support/ToolbarFixture.h"

namespace zel {
namespace {

using testing::faces;
using testsupport::errorOf;
using testing::setFaces;
using testing::tips;
using Apply = std::function<void(DataConnection&)>;
using Bar = std::shared_ptr<office::MemoryCommandBar>;

const Apply initial = [](DataConnection& c) { c.SetInitialToolbarState(); };
const Apply enabling = [](DataConnection& c) { c.EnableToolbarButtons(); };

// Excel and Word side by side, each with its bar and a connection to the simulated analyzer.
class HostToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.startExcel();
    host.startWord();
    excelBar = testing::addToolbar(*host.excel->commandBars(), 8);
    wordBar = testing::addToolbar(*host.word->commandBars(), 6);
    setFaces(*excelBar, "EEEEEEEE");
    setFaces(*wordBar, "EEEEEE");
    bind(*excel, host.excel);
    bind(*word, host.word);
    zelDot = host.word->templates()->find("ZEL.DOT");
    ASSERT_TRUE(zelDot);
  }
  void bind(DataConnection& connection, automation::ObjectPtr app) {
    automation::ObjectPtr ctl;
    int32_t hdc = 0;
    ASSERT_TRUE(connection.Init(app, instrument.server, ctl, hdc));
  }
  std::string connectedTip(const std::string& suffix) const {
    return fmt::format("Connected to {} Spectrum Analyzer at {}{}", testing::AttachedAnalyzer::kModel,
                       instrument.address(), suffix);
  }

  testing::Host host;
  testing::AttachedAnalyzer instrument;
  Bar excelBar, wordBar;
  std::shared_ptr<office::word::MemoryTemplate> zelDot;
  std::shared_ptr<ExcelDataConnection> excel = std::make_shared<ExcelDataConnection>();
  std::shared_ptr<WordDataConnection> word = std::make_shared<WordDataConnection>();
};

TEST_F(HostToolbarTest, EachStateSetsItsButtonsWhateverTheBarShowedBefore) {
  struct Case {
    const char* state;
    DataConnection& connection;
    Bar bar;
    Apply apply;
    std::string fromAllUp, fromAllDown, fromInitial;
  };
  const std::vector<Case> cases = {
      {"Excel initial", *excel, excelBar, initial, "EEhddddE", "hEhxxxxh", "EEhddddE"},
      {"Excel enabling", *excel, excelBar, enabling, "EEEEEEEE", "xxxhhxhh", "EEhEEdEE"},
      {"Excel repeat", *excel, excelBar, [](DataConnection& c) { c.EnableRepeatMeaureButtons(); }, "dddddEdd",
       "xxxxxhxx", "ddxddEdd"},
      {"Excel single", *excel, excelBar, [](DataConnection& c) { c.EnableSingleMeaureButtons(); }, "EEEEEdEE",
       "hhhhhxhh", "EEhEEdEE"},
      {"Word initial", *word, wordBar, initial, "EEhddE", "hEhxxh", "EEhddE"},
      {"Word enabling", *word, wordBar, enabling, "EEEEEE", "xxxhhx", "EEhEEE"},
  };
  // Word marks every template of the toolbar's name saved after each change, in any letter case.
  auto copy = host.word->templates()->add(R"(D:\Templates\Zel.Dot)");
  auto normal = host.word->templates()->find("Normal.dot");
  normal->touch();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    for (const auto& [start, expected] : {std::pair{'E', c.fromAllUp}, std::pair{'x', c.fromAllDown}}) {
      setFaces(*c.bar, std::string(c.bar->buttons().size(), start));
      zelDot->touch();
      copy->touch();
      c.apply(c.connection);
      EXPECT_EQ(faces(*c.bar), expected);
      EXPECT_EQ(zelDot->Saved(), &c.connection == word.get());
      EXPECT_EQ(copy->Saved(), &c.connection == word.get());
    }
    setFaces(*c.bar, std::string(c.bar->buttons().size(), 'E'));
    c.connection.SetInitialToolbarState();
    c.apply(c.connection);
    EXPECT_EQ(faces(*c.bar), c.fromInitial);
  }
  EXPECT_FALSE(normal->Saved());

  // The initial state gives every button its own tooltip but leaves the connected face's.
  setFaces(*excelBar, "EEEEEEEE");
  setFaces(*wordBar, "EEEEEE");
  for (DataConnection* c : std::initializer_list<DataConnection*>{excel.get(), word.get()}) c->SetInitialToolbarState();
  const std::string about = "About Corvane ORV/ZEL", connect = "Connect to ORV/ZEL-Q/R/VX Spectrum Analyzer";
  EXPECT_EQ(tips(*excelBar), (std::vector<std::string>{about, connect, "stale", "Capture/Restore Settings", "Get Data",
                                                      "Stop Repeated Measurement", "Get Screen Image", "Help"}));
  EXPECT_EQ(tips(*wordBar), (std::vector<std::string>{about, connect, "stale", "Capture/Restore Settings",
                                                     "Get Screen Image", "Help"}));
}

TEST_F(HostToolbarTest, TheConnectedTooltipNamesTheAnalyzerAndAnyComputerButThisOne) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"My Computer", ""}, {"my computer", " on my computer"}, {"MY COMPUTER", " on MY COMPUTER"}, {"LAB-PC", " on LAB-PC"}};
  for (auto [hostName, suffix] : cases) {
    SCOPED_TRACE(hostName);
    excel->SetInitialToolbarState();
    excel->UpdateConnectedIconAndTooltip(hostName);
    EXPECT_EQ(faces(*excelBar), "EhEddddE");
    EXPECT_EQ(excelBar->button(3)->TooltipText(), connectedTip(suffix));
  }
  // Word enables the buttons itself and marks its template.
  word->SetInitialToolbarState();
  zelDot->touch();
  std::string hostName = "LAB-PC";
  word->UpdateConnectedIconAndTooltip(hostName);
  EXPECT_EQ(faces(*wordBar), "EhEEEE");
  EXPECT_EQ(wordBar->button(3)->TooltipText(), connectedTip(" on LAB-PC"));
  EXPECT_TRUE(zelDot->Saved());

  // A server that fails leaves the connected face with its old tooltip; Excel goes on silently,
  // Word raises before enabling its buttons.
  for (const Bar& bar : {excelBar, wordBar}) bar->button(3)->setTooltipText("stale");
  excel->SetInitialToolbarState();
  word->SetInitialToolbarState();
  zelDot->touch();
  instrument.disappear();
  EXPECT_EQ(errorOf([&] { excel->UpdateConnectedIconAndTooltip(hostName); }), 0);
  EXPECT_EQ(faces(*excelBar), "EhEddddE");
  EXPECT_EQ(excelBar->button(3)->TooltipText(), "stale");
  EXPECT_NE(errorOf([&] { word->UpdateConnectedIconAndTooltip(hostName); }), 0);
  EXPECT_EQ(faces(*wordBar), "EhEddE");
  EXPECT_EQ(wordBar->button(3)->TooltipText(), "stale");
  EXPECT_FALSE(zelDot->Saved());

  // Without a link Word shows the initial state whatever it was asked.
  setFaces(*wordBar, "EEEEEE");
  zelDot->touch();
  instrument.server->Device()->setIoSession(nullptr);
  word->UpdateConnectedIconAndTooltip(hostName);
  EXPECT_EQ(faces(*wordBar), "EEhddE");
  EXPECT_EQ(wordBar->button(3)->TooltipText(), "stale");
  EXPECT_TRUE(zelDot->Saved());
}

// A bar the user renamed is not found: Excel leaves it alone, Word raises the host's error.
TEST_F(HostToolbarTest, ARenamedBarIsLeftAloneByExcelWhereWordRaises) {
  excelBar->setName("My Analyzer");
  wordBar->setName("My Analyzer");
  setFaces(*excelBar, "EEEEEEEE");
  setFaces(*wordBar, "EEEEEE");
  zelDot->touch();
  std::string hostName = "Bench 7";
  for (DataConnection* c : std::initializer_list<DataConnection*>{excel.get(), word.get()}) {
    const int32_t error = c == word.get() ? automation::vbErrInvalidProcedureCall : 0;
    EXPECT_EQ(errorOf([&] { c->SetInitialToolbarState(); }), error);
    EXPECT_EQ(errorOf([&] { c->EnableToolbarButtons(); }), error);
    EXPECT_EQ(errorOf([&] { c->UpdateConnectedIconAndTooltip(hostName); }), error);
  }
  excel->EnableRepeatMeaureButtons();
  excel->EnableSingleMeaureButtons();
  EXPECT_EQ(faces(*excelBar), "EEEEEEEE");
  EXPECT_EQ(faces(*wordBar), "EEEEEE");
  EXPECT_FALSE(zelDot->Saved());
}

TEST_F(HostToolbarTest, TheExcelBarFollowsTheControlsWorkbookInAndOut) {
  auto book1 = host.excel->workbooks().front();
  auto leave = [&] { host.excel->workbooks().back()->Activate(); };
  std::string hostName = "LAB-PC";
  excel->SetInitialToolbarState();
  excel->EnableToolbarButtons();
  excel->UpdateConnectedIconAndTooltip(hostName);
  ASSERT_EQ(faces(*excelBar), testing::kConnectedFaces);

  host.excel->Workbooks()->Add();  // another workbook becomes active
  EXPECT_EQ(faces(*excelBar), testing::kInitialFaces);
  excelBar->button(3)->setTooltipText("stale");
  book1->Activate();
  EXPECT_EQ(faces(*excelBar), testing::kConnectedFaces) << "single state, then connected";
  EXPECT_EQ(excelBar->button(3)->TooltipText(), connectedTip(" on LAB-PC"));

  excel->SetInRepeatDataTransfer(true);
  leave();
  EXPECT_EQ(faces(*excelBar), testing::kInitialFaces);
  excelBar->button(3)->setTooltipText("stale");
  book1->Activate();
  EXPECT_EQ(faces(*excelBar), testing::kRunFaces) << "repeat state, then connected";
  EXPECT_EQ(excelBar->button(3)->TooltipText(), connectedTip(" on LAB-PC"));

  // Without a link coming back changes nothing.
  leave();
  instrument.server->Device()->setIoSession(nullptr);
  book1->Activate();
  EXPECT_EQ(faces(*excelBar), testing::kInitialFaces);

  // Ending in the control's own workbook keeps the bar; ending elsewhere resets it.
  setFaces(*excelBar, "xxxxxxxx");
  auto again = std::make_shared<ExcelDataConnection>();
  bind(*again, host.excel);
  again.reset();
  EXPECT_EQ(faces(*excelBar), "xxxxxxxx");
  leave();
  setFaces(*excelBar, "EEEEEEEE");
  excel.reset();
  EXPECT_EQ(faces(*excelBar), testing::kInitialFaces);
}

}  // namespace
}  // namespace zel
