# The Windows build for x86-64: runs under the 64-bit Wine loader on any x86-64 host.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(HORALIA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
