// The driver of a fuzz target in a build without libFuzzer: runs every file of the corpus
// folders given, then, for the seconds ZEL_FUZZ_SECONDS names (default 2), inputs made from
// them by a fixed sequence of mutations (bytes flipped, inserted, dropped, cut, repeated). An
// input that crashes the target is written to fuzz-crash-<target> first, so the failure can be
// replayed alone: `target fuzz-crash-<target>`.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;
using Input = std::vector<uint8_t>;

std::string crashFile;
const Input* current = nullptr;

// Runs in a signal handler: only calls that are safe there.
extern "C" void keepCrashingInput(int signal) {
  if (current) {
    const int fd = ::open(crashFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      (void)!::write(fd, current->data(), current->size());
      ::close(fd);
    }
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void run(const Input& input) {
  current = &input;
  // A copy of exactly the input's size, so that reading past its end is a fault the sanitizers see.
  const auto exact = std::make_unique<uint8_t[]>(input.size() + (input.empty() ? 1 : 0));
  std::copy(input.begin(), input.end(), exact.get());
  LLVMFuzzerTestOneInput(exact.get(), input.size());
}

Input read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Input(std::istreambuf_iterator<char>(in), {});
}

Input mutate(Input input, std::mt19937& random) {
  auto pick = [&](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  const int edits = 1 + static_cast<int>(pick(4));
  for (int i = 0; i < edits; ++i) {
    switch (pick(6)) {
      case 0: if (!input.empty()) input[pick(input.size())] ^= static_cast<uint8_t>(1u << pick(8)); break;
      case 1: input.insert(input.begin() + static_cast<long>(pick(input.size() + 1)), static_cast<uint8_t>(pick(256))); break;
      case 2: if (!input.empty()) input.erase(input.begin() + static_cast<long>(pick(input.size()))); break;
      case 3: input.resize(pick(input.size() + 1)); break;
      case 4: if (!input.empty()) input[pick(input.size())] = "0123456789,#;:\n\r -.eE+"[pick(23)]; break;
      default: {
        const size_t from = pick(input.size() + 1), length = pick(input.size() - from + 1);
        const Input part(input.begin() + static_cast<long>(from), input.begin() + static_cast<long>(from + length));
        input.insert(input.begin() + static_cast<long>(pick(input.size() + 1)), part.begin(), part.end());
      }
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  crashFile = "fuzz-crash-" + fs::path(argv[0]).filename().string();
  for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) ::signal(signal, keepCrashingInput);
  std::vector<Input> corpus;
  for (int i = 1; i < argc; ++i) {
    const fs::path given(argv[i]);
    if (fs::is_directory(given)) {
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(given))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const auto& file : files) corpus.push_back(read(file));
    } else {
      corpus.push_back(read(given));
    }
  }
  if (corpus.empty()) corpus.emplace_back();
  for (const Input& input : corpus) run(input);

  const char* seconds = std::getenv("ZEL_FUZZ_SECONDS");
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds ? std::atoi(seconds) : 2);
  std::mt19937 random(20261206);
  size_t runs = corpus.size();
  for (size_t i = 0; std::chrono::steady_clock::now() < until; ++i, ++runs) run(mutate(corpus[i % corpus.size()], random));
  std::cout << runs << " inputs, no crash" << std::endl;
  return 0;
}
