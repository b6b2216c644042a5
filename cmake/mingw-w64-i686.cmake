# The Windows build for 32-bit x86, the reference build.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(HORALIA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
