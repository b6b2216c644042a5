# HORALIA_CLIP_NAMES: the clip texts of resources/clips.txt, in order, without its comments.
set(HORALIA_CLIP_LIST ${PROJECT_SOURCE_DIR}/resources/clips.txt)
file(STRINGS ${HORALIA_CLIP_LIST} HORALIA_CLIP_NAMES ENCODING UTF-8 REGEX "^[^#]")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${HORALIA_CLIP_LIST})
