# Every Windows test runs inside one wine session: a fixture that starts the display and boots
# the prefix before the first test, and ends the Wine servers and the display after the last.

set(HORALIA_WINE_SESSION_DIR ${CMAKE_BINARY_DIR}/wine-session)

# CMake 3.25 sets a test's properties only in the directory that added the test, so every test
# joins the session as it is added: this file is included before any test exists.
function(add_test)
  _add_test(${ARGV})
  if(ARGV0 STREQUAL "NAME")
    set(name ${ARGV1})
  else()
    set(name ${ARGV0})
  endif()
  if(NOT name MATCHES "^wine_session_")
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
                 "HORALIA_WINE_SESSION=${HORALIA_WINE_SESSION_DIR}")
  endif()
endfunction()

# The program named decides the loader and prefix of the session.
function(horalia_add_wine_session any_program)
  set(script ${PROJECT_SOURCE_DIR}/cmake/wine-session.sh)
  set(program $<TARGET_FILE:${any_program}>)
  add_test(NAME wine_session_start COMMAND ${script} start ${HORALIA_WINE_SESSION_DIR} ${program})
  add_test(NAME wine_session_stop COMMAND ${script} stop ${HORALIA_WINE_SESSION_DIR} ${program})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endfunction()
