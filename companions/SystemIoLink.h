#pragma once
// The reading and writing a link's transport gets from this computer's system: POSIX file
// descriptors, or Windows handles with overlapped waits.
#ifdef _WIN32
#include "companions/HandleIoLink.h"
namespace kro {
using SystemIoLink = HandleIoLink;
}
#else
#include "companions/FdIoLink.h"
namespace kro {
using SystemIoLink = FdIoLink;
}
#endif
