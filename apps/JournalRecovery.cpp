#include "JournalRecovery.h"

#include <optional>
#include <span>

#include "RunJournal.h"
#include "automation/PropertyBag.h"
#include "SheetCodec.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"

namespace zelhost {

Recovery recoverWorkbook(const std::filesystem::path& workbook) {
  const std::filesystem::path journal = RunJournal::pathFor(workbook);
  const JournalContents contents = readJournal(journal);
  Recovery recovery{static_cast<int>(contents.records.size()), contents.droppedBytes, {}};

  // The run's workbook as the host opened it, the measurements added as they were.
  const auto excel = office::excel::createApplication();
  excel->Workbooks()->Add();
  const auto book = excel->activeWorkbook();
  struct Closer {
    office::excel::MemoryWorkbook& book;
    ~Closer() { book.Close(); }  // the charts hold the workbook: closing breaks the cycle
  } closer{*book};
  for (const std::string& record : contents.records) decodeSheet(record, book);

  if (recovery.measurements > 0) {
    std::optional<automation::PropertyBag> state;
    if (contents.controlState) {
      const auto& bytes = *contents.controlState;
      state = automation::PropertyBag::fromBytes(
          std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }
    office::excel::WorkbookSaver(*book).save(workbook, state ? &*state : nullptr);
    syncFile(workbook);
    recovery.sheets = summarize(*book);
  }
  std::filesystem::remove(journal);
  return recovery;
}

}  // namespace zelhost
