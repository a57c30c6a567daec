#include <unistd.h>

#include <chrono>

#include "automation/Clock.h"
#include "forms/Desktop.h"
#include "win32/Win32.h"

namespace win32 {

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

DWORD Machine::processId() const { return processId_ ? *processId_ : static_cast<DWORD>(::getpid()); }

DWORD GetCurrentProcessId() { return machine().processId(); }

void Sleep(DWORD dwMilliseconds) { automation::clock().sleep(std::chrono::milliseconds(dwMilliseconds)); }

int GetDeviceCaps(HDC hdc, int index) {
  if (hdc == 0) return 0;
  switch (index) {
    case LOGPIXELSX: return forms::desktop().logPixelsX();
    case LOGPIXELSY: return forms::desktop().logPixelsY();
    case HORZRES: return 1920;
    case VERTRES: return 1080;
    case BITSPIXEL: return 32;
    default: return 0;
  }
}

}  // namespace win32
