#pragma once
// The journal of a run: each finished measurement's sheet, on disk and synced before the next
// measurement starts, beside the workbook the run will save ("series.xlsx.journal" beside
// "series.xlsx"). A run that ends normally saves the workbook and removes its journal; a run
// that was killed leaves the journal, from which `zel recover series.xlsx` builds the workbook.
//
// The file: the 8 bytes "ZELJRNL\0", the format version (32 bits), then records: each its length
// and CRC-32 (32 bits each), then its kind (one byte) and bytes: a finished sheet (SheetCodec), or
// the control's state (its property bag) as the workbook will carry it; the last state wins. A
// record cut short or damaged (the one being written when the process died) ends the journal: it
// and anything after it are dropped, and what came before is read as written.
#include <cstdint>
#include <filesystem>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zelhost {

class RunJournal {
 public:
  static constexpr uint32_t kVersion = 2;

  static std::filesystem::path pathFor(const std::filesystem::path& workbook);

  // Starts the journal of a new run; raises std::runtime_error when one is there already.
  explicit RunJournal(const std::filesystem::path& workbook);
  ~RunJournal();
  RunJournal(const RunJournal&) = delete;
  RunJournal& operator=(const RunJournal&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Adds a finished sheet's record and returns once it is on the disk.
  void append(const std::string& record);
  // Adds the control's state and returns once it is on the disk.
  void appendControlState(const std::string& state);
  // Adds one record on a thread of its own and returns at once, so that the disk's sync runs
  // while the host waits for the next measurement; waitDurable() returns once it is on the disk.
  // Returns where the record starts, for readRecord.
  uint64_t appendInBackground(std::string record);
  // A sheet's record appended before and durable, read back from the disk.
  std::string readRecord(uint64_t offset) const;
  // Raises what the last background append raised.
  void waitDurable();
  // The run's workbook is saved: the journal goes.
  void remove();
  // Held while a record is written, so that the journal is read only between records.
  std::mutex& lock() { return lock_; }

 private:
  void write(char kind, const std::string& bytes);
  static uint64_t recordSize(const std::string& record);

  std::filesystem::path path_;
  int fd_ = -1;
  uint64_t end_ = 0;  // the journal's length once every record asked for is written
  std::mutex lock_;
  std::thread writer_;
  std::exception_ptr writeFailure_;
};

struct JournalContents {
  std::vector<std::string> records;  // the sheets
  std::optional<std::string> controlState;
  uint64_t droppedBytes = 0;  // a damaged or cut-off tail
};

// Reads a journal; raises std::runtime_error for a file that is no journal or of a newer format.
JournalContents readJournal(const std::filesystem::path& path);

// Makes a file written and renamed into place durable: its data, then its folder's entry.
void syncFile(const std::filesystem::path& path);

}  // namespace zelhost
