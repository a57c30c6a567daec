// The run journal read back after the ways a run can end badly: a record cut off, a record whose
// bytes never reached the disk, a file that is no journal or of another format.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "RunJournal.h"

namespace {

namespace fs = std::filesystem;

class Journal : public ::testing::Test {
 protected:
  Journal() {
    folder = fs::temp_directory_path() /
             ("zel-journal-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
              std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    workbook = folder / "series.xlsx";
  }
  ~Journal() override { fs::remove_all(folder); }

  // A journal of `workbook` holding the two records, left as a killed run leaves it.
  fs::path written(const std::string& first, const std::string& second) {
    zelhost::RunJournal journal(workbook);
    journal.append(first);
    journal.append(second);
    return journal.path();
  }
  std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void rewrite(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

  fs::path folder;
  fs::path workbook;
};

TEST_F(Journal, KeepsItsRecordsBesideTheWorkbookAndRefusesASecondRun) {
  const fs::path path = written("first sheet", std::string(70000, 's'));
  EXPECT_EQ(path, folder / "series.xlsx.journal");
  const auto contents = zelhost::readJournal(path);
  ASSERT_EQ(contents.records.size(), 2u);
  EXPECT_EQ(contents.records[0], "first sheet");
  EXPECT_EQ(contents.records[1], std::string(70000, 's'));
  EXPECT_EQ(contents.droppedBytes, 0u);
  EXPECT_THROW(zelhost::RunJournal{workbook}, std::runtime_error) << "the unrecovered run stays";
}

TEST_F(Journal, TheControlsStateTravelsBesideTheSheetsAndTheLastOneWins) {
  fs::path path;
  {
    zelhost::RunJournal journal(workbook);
    EXPECT_FALSE(zelhost::readJournal(journal.path()).controlState);
    journal.appendControlState("options of the first Get Data");
    journal.append("first sheet");
    journal.appendControlState("options of the second Get Data");
    journal.appendInBackground("second sheet");
    journal.waitDurable();
    path = journal.path();
  }
  const auto contents = zelhost::readJournal(path);
  EXPECT_EQ(contents.records, (std::vector<std::string>{"first sheet", "second sheet"}));
  EXPECT_EQ(contents.controlState, "options of the second Get Data");
}

TEST_F(Journal, AMeasurementCutOffOrNeverWrittenEndsTheJournalWithoutHarmingWhatCameBefore) {
  const std::string second(5000, 'x');
  const fs::path path = written("first sheet", second);
  const std::string whole = bytesOf(path);
  // Cut anywhere inside the second record, its length field included.
  for (const size_t cut : {size_t{2}, size_t{8}, size_t{9}, second.size() / 2, second.size() + 7}) {
    SCOPED_TRACE(cut);
    rewrite(path, whole.substr(0, whole.size() - cut));
    const auto contents = zelhost::readJournal(path);
    ASSERT_EQ(contents.records.size(), 1u);
    EXPECT_EQ(contents.records[0], "first sheet");
    EXPECT_EQ(contents.droppedBytes, second.size() + 9 - cut);
  }
  // Its length on the disk but its bytes not: the pages the system never wrote read as zeros.
  std::string torn = whole;
  std::fill(torn.end() - 1000, torn.end(), '\0');
  rewrite(path, torn);
  const auto contents = zelhost::readJournal(path);
  ASSERT_EQ(contents.records.size(), 1u);
  EXPECT_EQ(contents.droppedBytes, second.size() + 9);
}

TEST_F(Journal, AFileThatIsNoJournalOrOfAnotherFormatIsRefused) {
  const fs::path path = written("first", "second");
  std::string bytes = bytesOf(path);
  rewrite(path, "PK\x03\x04 a workbook");
  EXPECT_THROW(zelhost::readJournal(path), std::runtime_error);
  bytes[8] = 3;  // the format after this one
  rewrite(path, bytes);
  try {
    zelhost::readJournal(path);
    ADD_FAILURE() << "a journal of format 3 was read";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("format 3"), std::string::npos) << e.what();
  }
}

}  // namespace
