#include "win32/Win32.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "automation/Clock.h"
#include "forms/ScriptedDesktop.h"

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

// A real temporary folder mapped as drive C: for one test.
class Win32Test : public testing::Test {
 protected:
  Win32Test() {
    root = fs::temp_directory_path() / ("win32test-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "Temp");
    machine->mapDrive('c', root);
  }
  ~Win32Test() override {
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto& e : fs::recursive_directory_iterator(root, ec)) {
      fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root, ec);
  }
  void write(const fs::path& path, const std::string& text = "x") { std::ofstream(path) << text; }
  std::string tempPath(win32::DWORD size = 255) {
    std::string buffer(255, '\0');
    const win32::DWORD n = win32::GetTempPathA(size, buffer.data());
    lastLength = n;
    return buffer.substr(0, buffer.find('\0'));
  }

  win32::ScopedMachine machine;
  forms::ScriptedDesktop desk;
  forms::ScopedDesktop use{desk};
  fs::path root;
  win32::DWORD lastLength = 0;
};

TEST_F(Win32Test, TempPathNamesARealFolderThroughTheDriveMapping) {
  machine->setTempPath("C:\\TEMP");
  EXPECT_EQ(tempPath(), "C:\\TEMP\\");
  EXPECT_EQ(lastLength, 8u);

  // The name built from it reaches the real folder, whatever the case of the letters.
  const std::string name = tempPath() + "t5200" + std::to_string(win32::GetCurrentProcessId()) + ".wmf";
  const auto posix = win32::toPosixPath(name);
  ASSERT_TRUE(posix);
  EXPECT_EQ(posix->parent_path(), root / "Temp");
  write(*posix);
  EXPECT_NE(win32::GetFileAttributesA(name.c_str()), win32::INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(win32::toWindowsPath(*posix), "C:\\Temp\\" + posix->filename().string());
}

TEST_F(Win32Test, TempPathReportsASmallBufferAndAMissingFolder) {
  machine->setTempPath("C:\\TEMP\\");
  std::string small(4, '\0');
  EXPECT_EQ(win32::GetTempPathA(4, small.data()), 9u) << "the size needed, with the NUL";
  EXPECT_EQ(small, std::string(4, '\0')) << "nothing written";

  machine->setTempPath("C:\\No Such Folder\\");
  EXPECT_EQ(tempPath(), "C:\\No Such Folder\\") << "Windows does not check the folder";

  machine->setTempPath(std::nullopt);
  EXPECT_EQ(tempPath(), "");
  EXPECT_EQ(lastLength, 0u);

  win32::ScopedMachine fresh;  // by default the system's temporary folder, on drive Z:
  const std::string system = tempPath();
  ASSERT_FALSE(system.empty());
  EXPECT_EQ(system.substr(0, 3), "Z:\\");
  EXPECT_EQ(system.back(), '\\');
  EXPECT_TRUE(fs::is_directory(*win32::toPosixPath(system)));
}

TEST_F(Win32Test, AReadOnlyFileCanBeDeletedOnlyAfterItsAttributesAreNormal) {
  write(root / "Temp" / "t52001234.wmf");
  const char* name = "c:\\temp\\T52001234.WMF";
  ASSERT_TRUE(win32::SetFileAttributesA(name, win32::FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(win32::GetFileAttributesA(name) & win32::FILE_ATTRIBUTE_READONLY, win32::FILE_ATTRIBUTE_READONLY);

  EXPECT_FALSE(win32::DeleteFileA(name));
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_ACCESS_DENIED);
  EXPECT_TRUE(fs::exists(root / "Temp" / "t52001234.wmf"));

  ASSERT_TRUE(win32::SetFileAttributesA(name, win32::FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(win32::DeleteFileA(name));
  EXPECT_FALSE(fs::exists(root / "Temp" / "t52001234.wmf"));

  EXPECT_FALSE(win32::DeleteFileA(name));
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(win32::SetFileAttributesA("C:\\Missing\\x.wmf", win32::FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(win32::GetLastError(), win32::ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(win32::DeleteFileA("Q:\\unmapped.wmf"));
  EXPECT_FALSE(win32::DeleteFileA("C:\\Temp")) << "a folder is not deleted as a file";
}

TEST_F(Win32Test, ShellExecuteOpensWebAddressesInTheBrowserAndReportsFailuresAt32OrLess) {
  const auto open = [](const char* file, const char* verb = "open") {
    return win32::ShellExecuteA(0, verb, file, (std::string(file) + " TARGET=_blank").c_str(), "0", 0);
  };
  write(root / "Temp" / "page.html");
  write(root / "Temp" / "notes.txt");

  EXPECT_GT(open("http://www.example.com/analyzers"), 32);
  EXPECT_GT(open("C:\\Temp\\PAGE.HTML"), 32);
  EXPECT_EQ(open("C:\\Temp\\notes.txt"), win32::SE_ERR_NOASSOC);
  EXPECT_EQ(open("C:\\Temp\\gone.html"), win32::SE_ERR_FNF);
  EXPECT_EQ(open("C:\\Gone\\gone.html"), win32::SE_ERR_PNF);
  EXPECT_EQ(open("gopher://old.example.com"), win32::SE_ERR_NOASSOC);
  EXPECT_EQ(open("http://www.example.com", "print"), win32::SE_ERR_NOASSOC);
  EXPECT_EQ(win32::ShellExecuteA(0, "open", "", nullptr, nullptr, 0), win32::SE_ERR_FNF);

  desk.setBrowserAvailable(false);
  EXPECT_EQ(open("https://www.example.com"), win32::SE_ERR_NOASSOC);
  EXPECT_THAT(desk.browserCalls(), ElementsAre("http://www.example.com/analyzers", "C:\\Temp\\PAGE.HTML",
                                               "https://www.example.com"));
}

TEST_F(Win32Test, ShortPathNamesAreEightDotThreeAndLeadBackToTheFile) {
  fs::create_directories(root / "Program Files" / "Kro Tools");
  fs::create_directories(root / "Program Data");
  write(root / "Program Files" / "Kro Tools" / "InstrumentSetups.dll");

  std::string buffer(255, ' ');
  const win32::DWORD n =
      win32::GetShortPathNameA("C:\\Program Files\\Kro Tools\\InstrumentSetups.dll", buffer.data(), 255);
  const std::string shortPath = buffer.substr(0, n);
  EXPECT_EQ(shortPath, "C:\\PROGRA~2\\KROTOO~1\\INSTRU~1.DLL") << "Program Data sorts first and takes ~1";
  EXPECT_EQ(win32::toPosixPath(shortPath), root / "Program Files" / "Kro Tools" / "InstrumentSetups.dll");

  EXPECT_EQ(win32::GetShortPathNameA("C:\\Temp", buffer.data(), 255), 7u) << "an 8.3 name stays as it is";
  EXPECT_EQ(buffer.substr(0, 7), "C:\\Temp");
  EXPECT_EQ(win32::GetShortPathNameA("C:\\Temp", buffer.data(), 3), 8u);
  EXPECT_EQ(win32::GetShortPathNameA("C:\\Nothing\\here.dll", buffer.data(), 255), 0u);
}

TEST_F(Win32Test, FindFirstFileNamesTheEntryAsTheFileSystemKeepsIt) {
  fs::create_directories(root / "Program Files" / "Kro Tools");
  write(root / "Program Files" / "Kro Tools" / "InstrumentSetups.dll");
  auto find = [](const char* path) -> std::string {
    win32::WIN32_FIND_DATAA found;
    const win32::HANDLE search = win32::FindFirstFileA(path, &found);
    if (search == win32::INVALID_HANDLE_VALUE) return "error " + std::to_string(win32::GetLastError());
    EXPECT_TRUE(win32::FindClose(search));
    EXPECT_FALSE(win32::FindClose(search)) << "a search is closed once";
    return std::string(found.cFileName) + (found.dwFileAttributes & win32::FILE_ATTRIBUTE_DIRECTORY ? "/" : "");
  };
  // Short names and other letter cases lead to the name on disk.
  EXPECT_EQ(find(R"(C:\PROGRA~1)"), "Program Files/");
  EXPECT_EQ(find(R"(C:\program files\KROTOO~1\instru~1.dll)"), "InstrumentSetups.dll");

  EXPECT_EQ(find(R"(C:\Program Files\Missing.dll)"), "error 2");
  EXPECT_EQ(find(R"(C:\Missing\Missing.dll)"), "error 3");
  EXPECT_EQ(find(R"(C:\)"), "error 2") << "a drive's root is no entry of a folder";
  EXPECT_EQ(find("C:"), "error 2");
  EXPECT_EQ(find(R"(C:\Program Files\)"), "error 2");
  EXPECT_EQ(find(R"(Q:\Program Files)"), "error 3") << "an unmapped drive";
}

TEST_F(Win32Test, DeviceCapsHelpAndSleepGoThroughTheDesktopAndTheClock) {
  EXPECT_EQ(win32::GetDeviceCaps(0x100, win32::LOGPIXELSX), 96);
  desk.setDpi(120, 144);
  EXPECT_EQ(win32::GetDeviceCaps(0x100, win32::LOGPIXELSX), 120);
  EXPECT_EQ(win32::GetDeviceCaps(0x100, win32::LOGPIXELSY), 144);
  EXPECT_EQ(win32::GetDeviceCaps(0, win32::LOGPIXELSX), 0) << "no device context, no answer";

  EXPECT_TRUE(win32::WinHelpA(0x1234, "C:\\Office\\ZELwtool.HLP", win32::HELP_CONTEXT, 4));
  EXPECT_TRUE(win32::WinHelpA(0x1234, "C:\\Office\\ZELwtool.HLP", win32::HELP_CONTENTS, 0));
  EXPECT_THAT(desk.lines(forms::TranscriptEntry::Kind::Help),
              ElementsAre("C:\\Office\\ZELwtool.HLP command 1 data 4", "C:\\Office\\ZELwtool.HLP command 3 data 0"));

  automation::FakeClock clock;
  automation::ScopedClock useClock(clock);
  win32::Sleep(100);
  EXPECT_EQ(clock.slept(), std::chrono::milliseconds(100));

  machine->setProcessId(1234);
  EXPECT_EQ(win32::GetCurrentProcessId(), 1234u);
}

TEST_F(Win32Test, PathsTranslateBothWaysUnderTheDeepestMappedDrive) {
  fs::create_directories(root / "Temp" / "Deep");
  machine->mapDrive('D', root / "Temp");
  EXPECT_EQ(win32::toWindowsPath(root / "Temp" / "Deep" / "x.bmp"), "D:\\Deep\\x.bmp");
  EXPECT_EQ(win32::toWindowsPath(root), "C:\\");
  EXPECT_EQ(win32::toPosixPath("d:/deep/../DEEP/new.bmp"), root / "Temp" / "Deep" / "new.bmp");
  EXPECT_EQ(win32::toPosixPath("t52001234.wmf"), fs::path("t52001234.wmf")) << "relative stays relative";
  EXPECT_FALSE(win32::toPosixPath("\\\\server\\share\\x"));
  machine->unmapDrive('D');
  EXPECT_FALSE(win32::toPosixPath("D:\\Deep"));
}

}  // namespace
