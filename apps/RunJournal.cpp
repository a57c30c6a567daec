#include "RunJournal.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace zelhost {

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[8] = {'Z', 'E', 'L', 'J', 'R', 'N', 'L', '\0'};
constexpr size_t kHeaderSize = sizeof kMagic + sizeof(uint32_t);
constexpr size_t kRecordHeaderSize = 2 * sizeof(uint32_t);
constexpr char kSheetRecord = 'S';
constexpr char kControlStateRecord = 'B';

[[noreturn]] void failed(const std::string& doing, const fs::path& path) {
  throw std::runtime_error(fmt::format("{} {}: {}", doing, path.string(), std::strerror(errno)));
}

void writeAll(int fd, const char* data, size_t size, const fs::path& path) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      failed("could not write", path);
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
}

void syncFolder(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) failed("could not open the folder", folder);
  const int synced = ::fsync(fd);
  ::close(fd);
  if (synced != 0) failed("could not sync the folder", folder);
}

uint32_t checksum(const char* data, size_t size) {
  return static_cast<uint32_t>(::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data),
                                       static_cast<uInt>(size)));
}

uint32_t readWord(const std::string& bytes, size_t at) {
  uint32_t word;
  std::memcpy(&word, bytes.data() + at, sizeof word);
  return word;
}

}  // namespace

fs::path RunJournal::pathFor(const fs::path& workbook) {
  fs::path journal = workbook;
  journal += ".journal";
  return journal;
}

RunJournal::RunJournal(const fs::path& workbook) : path_(pathFor(workbook)) {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
  if (fd_ < 0) failed("could not start the journal", path_);
  std::string header(kMagic, sizeof kMagic);
  header.append(reinterpret_cast<const char*>(&kVersion), sizeof kVersion);
  writeAll(fd_, header.data(), header.size(), path_);
  end_ = header.size();
  if (::fsync(fd_) != 0) failed("could not sync", path_);
  syncFolder(path_);
}

RunJournal::~RunJournal() {
  if (writer_.joinable()) writer_.join();
  if (fd_ >= 0) ::close(fd_);
}

void RunJournal::append(const std::string& record) {
  end_ += recordSize(record);
  write(kSheetRecord, record);
}

void RunJournal::appendControlState(const std::string& state) {
  waitDurable();
  end_ += recordSize(state);
  write(kControlStateRecord, state);
}

void RunJournal::write(char kind, const std::string& record) {
  std::lock_guard hold(lock_);
  std::string bytes;
  bytes.reserve(kRecordHeaderSize + 1 + record.size());
  bytes.resize(kRecordHeaderSize);
  bytes += kind;
  bytes += record;
  const uint32_t size = static_cast<uint32_t>(bytes.size() - kRecordHeaderSize);
  const uint32_t crc = checksum(bytes.data() + kRecordHeaderSize, size);
  std::memcpy(bytes.data(), &size, sizeof size);
  std::memcpy(bytes.data() + sizeof size, &crc, sizeof crc);
  writeAll(fd_, bytes.data(), bytes.size(), path_);
  if (::fdatasync(fd_) != 0) failed("could not sync", path_);
}

uint64_t RunJournal::recordSize(const std::string& record) { return kRecordHeaderSize + 1 + record.size(); }

uint64_t RunJournal::appendInBackground(std::string record) {
  waitDurable();
  const uint64_t at = end_;
  end_ += recordSize(record);
  writer_ = std::thread([this, record = std::move(record)] {
    try {
      write(kSheetRecord, record);
    } catch (...) {
      writeFailure_ = std::current_exception();
    }
  });
  return at;
}

std::string RunJournal::readRecord(uint64_t offset) const {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) failed("could not open", path_);
  std::string bytes(kRecordHeaderSize, '\0');
  bool whole = ::pread(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes.size());
  const uint32_t size = whole ? readWord(bytes, 0) : 0;
  const uint32_t crc = whole ? readWord(bytes, sizeof size) : 0;
  bytes.resize(size);
  whole = whole && size > 0 &&
          ::pread(fd, bytes.data(), size, static_cast<off_t>(offset + kRecordHeaderSize)) == static_cast<ssize_t>(size);
  ::close(fd);
  if (!whole || checksum(bytes.data(), size) != crc || bytes[0] != kSheetRecord)
    throw std::runtime_error(fmt::format("{} has no whole sheet at byte {}", path_.string(), offset));
  bytes.erase(0, 1);
  return bytes;
}

void RunJournal::waitDurable() {
  if (writer_.joinable()) writer_.join();
  if (writeFailure_) std::rethrow_exception(std::exchange(writeFailure_, nullptr));
}

void RunJournal::remove() {
  // The workbook holding every measurement is saved: a record still on its way is of no use.
  if (writer_.joinable()) writer_.join();
  std::lock_guard hold(lock_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  std::error_code ignored;
  fs::remove(path_, ignored);
  syncFolder(path_);
}

JournalContents readJournal(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) failed("could not open", path);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    throw std::runtime_error(fmt::format("{} is not a zel run journal", path.string()));
  if (const uint32_t version = readWord(bytes, sizeof kMagic); version != RunJournal::kVersion)
    throw std::runtime_error(fmt::format("{} is a run journal of format {}; this zel reads format {}", path.string(),
                                         version, RunJournal::kVersion));
  JournalContents contents;
  size_t at = kHeaderSize;
  while (at < bytes.size()) {
    if (bytes.size() - at < kRecordHeaderSize) break;
    const uint32_t size = readWord(bytes, at);
    const uint32_t crc = readWord(bytes, at + sizeof size);
    if (size > bytes.size() - at - kRecordHeaderSize) break;
    const char* record = bytes.data() + at + kRecordHeaderSize;
    if (size == 0 || checksum(record, size) != crc) break;
    if (record[0] == kSheetRecord)
      contents.records.emplace_back(record + 1, size - 1);
    else if (record[0] == kControlStateRecord)
      contents.controlState.emplace(record + 1, size - 1);
    else
      break;  // written by a later zel: what follows is not read as this one's
    at += kRecordHeaderSize + size;
  }
  contents.droppedBytes = bytes.size() - at;
  return contents;
}

void syncFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) failed("could not open", path);
  const int synced = ::fsync(fd);
  ::close(fd);
  if (synced != 0) failed("could not sync", path);
  syncFolder(path);
}

}  // namespace zelhost
