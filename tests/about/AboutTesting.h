#pragma once
// What the About tests share: a machine whose drive C: is a real temporary folder, where a test
// installs the component files it wants found. The library's version dialog goes with it, so
// that every test starts with a fresh one.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about/FrmVersionInfo.h"
#include "forms/ListView.h"
#include "win32/Win32.h"

namespace abouttest {

class TestMachine {
 public:
  TestMachine() {
    root = std::filesystem::temp_directory_path() /
           ("abouttest-" + std::to_string(::getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    machine->mapDrive('C', root);
  }
  ~TestMachine() {
    zel::releaseFrmVersionInfo();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  // Creates the file at `relative` ("Program Files/ZEL/ZELControlProj.ocx") under drive C:.
  void install(const std::string& relative) {
    const auto path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "MZ";
  }

  win32::ScopedMachine machine;
  std::filesystem::path root;
};

// The list's rows, top to bottom, each as its four columns joined by "|".
inline std::vector<std::string> rows(forms::ListView& list) {
  std::vector<std::string> out;
  forms::ListView::Items& items = list.ListItems();
  for (int i = 1; i <= items.Count(); ++i) {
    const forms::ListItem& row = items.Item(i);
    out.push_back(row.Text() + "|" + row.SubItems(1) + "|" + row.SubItems(2) + "|" + row.SubItems(3));
  }
  return out;
}

}  // namespace abouttest
