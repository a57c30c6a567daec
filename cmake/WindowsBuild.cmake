# The Windows build: the system's folders and the COM bridge, linked into one in-process server,
# ZELControlProj.dll. The stand-ins that need libraries mingw-w64 lacks (the workbook saver, the
# metafile renderer, the packaged control state) and the simulator stay out; so do the tests,
# which run in the Linux build, but for the test container that run.sh starts under Wine, and
# the host program, whose part on Windows the host plays.
set(ZEL_WINDOWS ON)

# fmt header-only and asio (header-only anyway), from the build machine's own packages: only
# their folders are put on the include path, not the rest of /usr/include.
set(ZEL_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${ZEL_HOST_HEADERS})
foreach(entry fmt asio asio.hpp)
  if(NOT EXISTS ${ZEL_HOST_HEADERS}/${entry})
    file(CREATE_LINK /usr/include/${entry} ${ZEL_HOST_HEADERS}/${entry} SYMBOLIC)
  endif()
endforeach()
add_library(fmt_header_only INTERFACE)
target_include_directories(fmt_header_only SYSTEM INTERFACE ${ZEL_HOST_HEADERS})
target_compile_definitions(fmt_header_only INTERFACE FMT_HEADER_ONLY)
add_library(fmt::fmt ALIAS fmt_header_only)
# localtime_r as the system calls it on POSIX; the Windows headers without their rarely used
# parts (the bridge includes the OLE headers it needs) and without the min and max macros;
# Windows 7 as the oldest target, for asio.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

# A DLL that a Windows machine without mingw-w64 can load: the C++ runtime goes inside.
add_link_options(-static-libgcc -static-libstdc++ -static)

foreach(dir
    platform/automation platform/win32 platform/forms platform/office
    companions transfer connections dialogs about control
    windows tests/windows)
  add_subdirectory(${dir})
endforeach()
