#pragma once
// The journal of a run: each finished measurement's sheet, on disk and synced before the next
// measurement starts, beside the workbook the run will save ("series.xlsx.journal" beside
// "series.xlsx"). A run that ends normally saves the workbook and removes its journal; a run
// that was killed leaves the journal, from which `zel recover series.xlsx` builds the workbook.
//
// The file: the 8 bytes "ZELJRNL\0", the format version (32 bits), then one record per sheet:
// its length and CRC-32 (32 bits each) and the sheet's bytes (SheetCodec). A record cut short or
// damaged (the one being written when the process died) ends the journal: it and anything after
// it are dropped, and what came before is read as written.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace zelhost {

class RunJournal {
 public:
  static constexpr uint32_t kVersion = 1;

  static std::filesystem::path pathFor(const std::filesystem::path& workbook);

  // Starts the journal of a new run; raises std::runtime_error when one is there already.
  explicit RunJournal(const std::filesystem::path& workbook);
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Adds one record and returns once it is on the disk.
  void append(const std::string& record);
  // The run's workbook is saved: the journal goes.
  void remove();
  // Held while a record is written, so that the journal is read only between records.
  std::mutex& lock() { return lock_; }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  std::mutex lock_;
};

struct JournalContents {
  std::vector<std::string> records;
  uint64_t droppedBytes = 0;  // a damaged or cut-off tail
};

// Reads a journal; raises std::runtime_error for a file that is no journal or of a newer format.
JournalContents readJournal(const std::filesystem::path& path);

// Makes a file written and renamed into place durable: its data, then its folder's entry.
void syncFile(const std::filesystem::path& path);

}  // namespace zelhost
