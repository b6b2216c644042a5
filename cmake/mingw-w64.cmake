# Shared by the two Windows toolchains: set HORALIA_MINGW_TRIPLE, then include this file.
# Cross-compiles with mingw-w64; tests run under Wine through the runner beside this file.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${HORALIA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HORALIA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HORALIA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HORALIA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: Horalia.exe and the tools run on a bare Windows without mingw DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
