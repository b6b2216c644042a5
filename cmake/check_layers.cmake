# Fails when an include breaks the layering: common < config < voice, timesync < ui < app, with
# extlibs and tools resting on the layers below ui; and when a portable file includes a platform
# leaf (win32/, qt/, linux/). Run as: cmake -DSOURCE_DIR=<root> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(allowed_common common)
set(allowed_config common config)
set(allowed_voice common config voice)
set(allowed_timesync common config timesync)
set(allowed_ui common config voice timesync ui)
set(allowed_app common config voice timesync ui app)
set(allowed_extlibs common config voice timesync extlibs)
set(allowed_tools common config voice timesync tools)
set(layers common config voice timesync ui app extlibs tools)

set(leaf_regex "/(win32|qt|linux)/")
set(faults "")
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.h
       ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h.in)
  foreach(source IN LISTS sources)
    string(REGEX MATCH "${leaf_regex}" in_leaf "/${source}")
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[^\"]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
      string(REGEX REPLACE "/.*" "" included_layer "${included}")
      if(NOT included_layer IN_LIST layers)
        continue()  # a library's header or one of the build's generated headers
      endif()
      if(NOT included_layer IN_LIST allowed_${layer})
        string(APPEND faults "  ${source}: ${layer}/ may not include ${included}\n")
      endif()
      string(REGEX MATCH "${leaf_regex}" includes_leaf "/${included}")
      if(includes_leaf AND NOT in_leaf)
        string(APPEND faults "  ${source}: a portable file includes the platform leaf ${included}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Includes against the layering:\n${faults}")
endif()
message(STATUS "layering: every include points down")
