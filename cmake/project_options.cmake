# Flags shared by every target of the project (not by third-party code added before this file).
add_compile_options(-Wall -Wextra -Werror)
if(WIN32)
  # Windows headers in their narrow and wide forms are both used; target Windows 7 and later.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

if(HORALIA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# Core libraries are plain C++20; the project root is the include root ("voice/numerals.h").
# Windows binaries ship as they are built: drop unused code and the symbols, so that
# Horalia.exe and the two DLLs stay small despite the static C++ runtime.
if(WIN32)
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-ffunction-sections> $<$<NOT:$<CONFIG:Debug>>:-fdata-sections>)
  add_link_options($<$<NOT:$<CONFIG:Debug>>:-Wl,--gc-sections> $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/wine_tests.cmake)

set(HORALIA_TEST_RUNTIME_DIR ${CMAKE_BINARY_DIR}/test-runtime)
file(MAKE_DIRECTORY ${HORALIA_TEST_RUNTIME_DIR})
file(CHMOD ${HORALIA_TEST_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(horalia_core_library name)
  add_library(${name} STATIC ${ARGN})
  # Generated headers (the version, ...) live under <build>/generated, included as "common/...".
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
endfunction()

# One GoogleTest executable per subsystem; on Windows builds it runs through the Wine emulator.
function(horalia_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  horalia_in_wine_session(${name})
  if(NOT WIN32)
    # Qt and PulseAudio make a runtime folder in /tmp when the session names none: the tests
    # get one in the build tree instead, so that a test run leaves nothing behind.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                 "XDG_RUNTIME_DIR=${HORALIA_TEST_RUNTIME_DIR}")
  endif()
endfunction()

# Adds the folder's platform leaf: win32/ on Windows, linux/ elsewhere.
function(horalia_platform_subdirectory)
  if(WIN32)
    add_subdirectory(win32)
  else()
    add_subdirectory(linux)
  endif()
endfunction()
