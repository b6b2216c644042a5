# Runs horalia-say once and checks its exit status and output.
#   -DSAY=<exe> [-DEMULATOR=<runner>] -DARGS=<args separated by |> -DSTATUS=<n>
#   [-DSTDOUT=<exact first line>] [-DSTDERR=<regex>] [-DWORKDIR=<dir>]
string(REPLACE "|" ";" arguments "${ARGS}")
if(NOT WORKDIR)
  set(WORKDIR ${CMAKE_CURRENT_BINARY_DIR})
endif()
execute_process(
  COMMAND ${EMULATOR} ${SAY} ${arguments}
  WORKING_DIRECTORY ${WORKDIR}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
string(REGEX REPLACE "\r?\n.*" "" firstLine "${out}")
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout: ${out}\nstderr: ${err}")
endif()
if(DEFINED STDOUT AND NOT firstLine STREQUAL STDOUT)
  message(FATAL_ERROR "stdout \"${firstLine}\", expected \"${STDOUT}\"\nstderr: ${err}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr \"${err}\" does not match \"${STDERR}\"")
endif()
if(DEFINED WAV_OUT)
  if(NOT EXISTS ${WAV_OUT})
    message(FATAL_ERROR "${WAV_OUT} was not written")
  endif()
  file(SIZE ${WAV_OUT} size)
  if(size LESS 1000)
    message(FATAL_ERROR "${WAV_OUT} holds only ${size} bytes")
  endif()
endif()
if(DEFINED NO_FILE AND EXISTS ${NO_FILE})
  message(FATAL_ERROR "${NO_FILE} was written although the input was bad")
endif()
