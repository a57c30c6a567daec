#include "control/ZELControl.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "forms/Constants.h"
#include "forms/User.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"
#include "win32/Win32.h"

namespace zel {
namespace {

using automation::DispatchKind;
using automation::ObjectPtr;
using automation::Variant;
using testing::Host;

// IToolbarSupport as the host add-in calls it: late-bound, through the interface's members.
Variant callToolbar(const std::shared_ptr<ZELControl>& control, const char* member,
                    DispatchKind kind = DispatchKind::Method, automation::DispatchArgs args = {}) {
  return control->invoke(member, kind, args);
}

TEST(ZELControl, EachHostGetsItsOwnConnectionKindAndASecondPutReinitialisesIt) {
  Host host;
  auto control = host.createControl();
  control->setConnectedApplication(std::make_shared<automation::Collection>());
  EXPECT_EQ(control->connection(), nullptr) << "neither Excel nor Word";
  host.startWord("ZEL.DOT", /*withDocument=*/false);
  control->setConnectedApplication(host.word);
  EXPECT_EQ(control->connection(), nullptr) << "Word without a document is no host either";

  host.startExcel();
  control = host.placeInWorkbook();
  callToolbar(control, "ConnectedApplication", DispatchKind::PropertyPut, {Variant(host.excel)});
  ASSERT_TRUE(std::dynamic_pointer_cast<ExcelDataConnection>(control->connection()));
  EXPECT_EQ(control->connection()->SavedDataCValue(), ExcelSaved);
  const auto first = control->connection();
  host.startWord();
  control->setConnectedApplication(host.word);
  EXPECT_EQ(control->connection(), first) << "the kind never switches";
  EXPECT_EQ(control->ConnectedApplication(), ObjectPtr(host.excel));

  // Word's connection binds again to the application it is handed.
  auto wordControl = host.placeInDocument();
  wordControl->setConnectedApplication(host.word);
  const auto wordConnection = wordControl->connection();
  ASSERT_TRUE(std::dynamic_pointer_cast<WordDataConnection>(wordConnection));
  host.startWord();
  wordControl->setConnectedApplication(host.word);
  EXPECT_EQ(wordControl->connection(), wordConnection);
  EXPECT_EQ(callToolbar(wordControl, "ConnectedApplication", DispatchKind::PropertyGet).asObject(),
            ObjectPtr(host.word));
  host.desk.verify();
}

TEST(ZELControl, HelpInExcelOpensTheAddInsHelpFileAtItsContents) {
  Host host;
  host.startExcel("zel.xla");  // the add-in's name is compared in upper case
  auto control = host.placeInWorkbook();
  control->setConnectedApplication(host.excel);
  callToolbar(control, "DoHelp");
  ASSERT_EQ(host.excel->helpCalls().size(), 1u);
  EXPECT_EQ(host.excel->helpCalls()[0].helpFile, Variant(R"(C:\Program Files\ZEL\ZELxltool.hlp)"));
  EXPECT_EQ(automation::CLng(host.excel->helpCalls()[0].contextId), 0);
  // Another topic is passed as it is.
  control->connection()->DoHelp(0, 4);
  EXPECT_EQ(automation::CLng(host.excel->helpCalls().back().contextId), 4);
  host.desk.verify();
}

TEST(ZELControl, HelpDoesNothingWithoutTheAddInOrWithoutAConnection) {
  Host host;
  host.startExcel("OTHER.XLA");
  auto control = host.placeInWorkbook();
  callToolbar(control, "DoHelp");  // no connection yet
  control->setConnectedApplication(host.excel);
  callToolbar(control, "DoHelp");
  EXPECT_TRUE(host.excel->helpCalls().empty());
  EXPECT_TRUE(host.desk.helpCalls().empty());
  host.desk.verify();
}

TEST(ZELControl, HelpInWordShowsTheContentsOfTheTemplatesHelpFile) {
  Host host;
  host.startWord();
  auto control = host.placeInDocument();
  control->setConnectedApplication(host.word);
  control->DoHelp();
  ASSERT_EQ(host.desk.helpCalls().size(), 1u);
  EXPECT_EQ(host.desk.helpCalls()[0].file, R"(C:\Program Files\ZEL\ZELwtool.HLP)");
  EXPECT_EQ(host.desk.helpCalls()[0].command, win32::HELP_CONTENTS);
  EXPECT_EQ(host.desk.helpCalls()[0].data, 0u);
  // A topic goes with HELP_CONTEXT, its number sign-extended to 32 bits.
  control->connection()->DoHelp(0, 4);
  control->connection()->DoHelp(0, -2);
  EXPECT_EQ(host.desk.helpCalls()[1].command, win32::HELP_CONTEXT);
  EXPECT_EQ(host.desk.helpCalls()[1].data, 4u);
  EXPECT_EQ(host.desk.helpCalls()[2].data, 0xFFFFFFFEu);
  host.desk.verify();
}

TEST(ZELControl, SaveScreenImageWithoutAConnectionReportsTheMissingApplication) {
  Host host;
  auto control = host.createControl();
  host.desk.onMessage("Failed to transfer image to application.");
  callToolbar(control, "DoSaveScreenImage");  // returns normally
  ASSERT_EQ(host.desk.messages().size(), 1u);
  testsupport::expectError(host.desk.messages()[0],
                           "Failed to transfer image to application.\r\nError Description: Application Object Not Set");
  host.desk.verify();
}

TEST(ZELControl, ItsOwnToolbarDispatchesOnlyTheExactKeys) {
  Host host;
  auto control = host.createControl();
  // A key in another letter case, or one the control does not know, does nothing at all.
  auto& other = control->add<forms::Toolbar>("Probe");
  forms::Button& upper = other.Buttons().Add(0, "About");
  forms::Button& unknown = other.Buttons().Add(0, "help");
  EXPECT_NO_THROW(control->Toolbar1_ButtonClick(upper));
  EXPECT_NO_THROW(control->Toolbar1_ButtonClick(unknown));
  host.desk.verify();
}

TEST(ZELControl, TheDebugContainerAndServerPropertiesKeepWhatTheyAreGiven) {
  Host host;
  auto control = host.createControl();
  auto container = std::make_shared<automation::Collection>();
  control->invoke("DbgContainer", DispatchKind::PropertyPutRef, {Variant(container)});
  EXPECT_EQ(control->invoke("DbgContainer", DispatchKind::PropertyGet).asObject(), ObjectPtr(container));

  // The server is created on first use and can be replaced by another instrument server only.
  const ObjectPtr created = control->invoke("ZelServer", DispatchKind::PropertyGet).asObject();
  ASSERT_TRUE(std::dynamic_pointer_cast<InstrumentServer>(created));
  EXPECT_EQ(control->invoke("ZelServer", DispatchKind::PropertyGet).asObject(), created);
  auto replacement = std::make_shared<InstrumentServer>();
  control->invoke("ZelServer", DispatchKind::PropertyPut, {Variant(replacement)});
  EXPECT_EQ(control->getServer(), replacement);
  try {
    control->invoke("ZelServer", DispatchKind::PropertyPut, {Variant(container)});
    FAIL() << "an object without the server interface was accepted";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::vbErrTypeMismatch);
  }
  host.desk.verify();
}

// ---- the legacy settings file -----------------------------------------------------------------

// An object with the three properties the legacy reader sets by name.
class SetupInfo : public automation::Object {
 public:
  const automation::TypeInfo& typeInfo() const override {
    static const automation::TypeInfo info = automation::TypeInfoBuilder<SetupInfo>("SetupInfo")
                                                 .interface("{6D1E2F30-0000-4000-8000-000000000001}", "_SetupInfo")
                                                 .put("model", 1, &SetupInfo::setModel)
                                                 .put("version", 2, &SetupInfo::setVersion)
                                                 .put("data", 3, &SetupInfo::setData)
                                                 .build();
    return info;
  }
  void setModel(const std::string& v) { model = v; }
  void setVersion(const std::string& v) { version = v; }
  void setData(const Variant& v) { data = v; }
  std::string model, version;
  Variant data;
};

class LegacyFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("zel-legacy-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    machine->mapDrive('D', dir);
    host.registry.registerClass({"Test.SetupInfo", "{6D1E2F31-0000-4000-8000-000000000001}", "SetupInfo", "", {},
                                 {}, "", true, [] { return std::make_shared<SetupInfo>(); }});
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return "D:\\" + name;
  }
  std::shared_ptr<SetupInfo> read(const std::string& file, const std::string& progId = "Test.SetupInfo") {
    return Variant(host.createControl()->GetLegacyNordalFileInfo(file, progId)).objectAs<SetupInfo>();
  }

  Host host;
  win32::ScopedMachine machine;
  std::filesystem::path dir;
};

// A header of four lines, then the block; padded so the file is well over 100 bytes.
std::string legacyFile(const std::string& lineEnd) {
  return "NORDAL SETUP FILE" + lineEnd + "v1" + lineEnd + "saved" + lineEnd + "MODEL ZEL-Q 3008" + lineEnd +
         "#210STATE:1234" + std::string(120, 'x');
}

TEST_F(LegacyFile, TheFourthLineGivesTheModelAndTheBlockInTheHeaderTheData) {
  struct Row {
    std::string file, model, data;  // an empty model: no object comes back
  };
  const std::vector<Row> rows{
      {legacyFile("\n"), "ZEL-Q 3008", "STATE:1234"},
      {legacyFile("\r\n"), "ZEL-Q 3008", "STATE:1234"},  // carriage returns are not part of the model
      {"a\nb\nc\nd e\n#15ABCDE" + std::string(83, 'y'), "e", "ABCDE"},  // exactly 100 bytes
      {legacyFile("\n").substr(0, 99), "", ""},
      {std::string(150, 'z'), "", ""},                                // no block
      {"a\nb\nc\nd e\n#x5ABCDE" + std::string(120, 'y'), "", ""},     // no digit count
      {"a\nb\nc\nd e\n#9999999999" + std::string(100, 'y'), "", ""},  // longer than the file
      // "#" at position 96 with five count digits: only "12" lies within the first 100 characters,
      // and the block starts after all five.
      {"a\nb\nc\nd MODEL\n" + std::string(82, 'p') + "#512345BLOCK-BYTES!" + std::string(20, 'z'), "MODEL",
       "BLOCK-BYTES!"},
  };
  for (size_t i = 0; i < rows.size(); ++i) {
    const auto info = read(write("setup.set", rows[i].file));
    ASSERT_EQ(bool(info), !rows[i].model.empty()) << "row " << i;
    if (!info) continue;
    const auto& data = info->data.asArray().bytes();
    EXPECT_EQ(info->model + "|" + info->version + "|" + std::string(data.begin(), data.end()),
              rows[i].model + "|*|" + rows[i].data)
        << "row " << i;
  }
}

TEST_F(LegacyFile, AMissingFileOrAnObjectWithoutThePropertiesGivesNothing) {
  EXPECT_FALSE(read("D:\\missing.set"));
  EXPECT_FALSE(read(write("setup.set", legacyFile("\n")), "Not.Registered"));
  EXPECT_FALSE(read(write("setup.set", legacyFile("\n")), ZELControl::kProgId));
}

}  // namespace
}  // namespace zel
