# What `cmake --install` puts where, and the CPack settings of the Linux packages (.deb, .rpm).
# scripts/package.sh makes every package, the Windows ones included.

if(WIN32)
  return()
endif()

set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging/linux)

install(FILES ${packaging_dir}/horalia.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${packaging_dir}/com.example.horalia.metainfo.xml DESTINATION share/metainfo)

# Manual pages: each program's --help fills the synopsis and the options of its page's template
# (cmake/man_page.py), so a new option cannot be missing from it; the clip count comes from the
# clip list.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
list(LENGTH HORALIA_CLIP_NAMES clip_count)
set(man_pages "")
foreach(program horalia horalia-say)
  set(page ${CMAKE_BINARY_DIR}/packaging/${program}.1)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/cmake/man_page.py
            ${packaging_dir}/${program}.1.in ${page} $<TARGET_FILE:${program}>
            CLIP_COUNT=${clip_count} VERSION=${PROJECT_VERSION}
    DEPENDS ${program} ${packaging_dir}/${program}.1.in ${PROJECT_SOURCE_DIR}/cmake/man_page.py
            ${HORALIA_CLIP_LIST}
    VERBATIM)
  list(APPEND man_pages ${page})
endforeach()

# Manual pages and the change log go compressed, as Debian's policy asks (gzip -n: no time stamp,
# so the packages are reproducible).
set(compressed "")
foreach(file ${man_pages} ${packaging_dir}/changelog)
  get_filename_component(name ${file} NAME)
  set(out ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND gzip -9 -n -c ${file} > ${out}
    DEPENDS ${file}
    VERBATIM)
  list(APPEND compressed ${out})
endforeach()
add_custom_target(horalia_packaging_files ALL DEPENDS ${compressed})
install(FILES ${CMAKE_BINARY_DIR}/packaging/horalia.1.gz ${CMAKE_BINARY_DIR}/packaging/horalia-say.1.gz
        DESTINATION share/man/man1)
install(FILES ${packaging_dir}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION share/doc/horalia)

set(CPACK_PACKAGE_NAME horalia)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Horalia developers")
set(CPACK_PACKAGE_CONTACT "The Horalia developers <${HORALIA_VENDOR_MAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking clock that speaks the time in Mandarin")
set(CPACK_PACKAGE_DESCRIPTION
    "Horalia lives in the notification area and speaks the time and the date\n"
    "aloud in Mandarin Chinese from recorded clips. It announces on a left click\n"
    "and at the top of every first, second or sixth hour, can set the clock from\n"
    "a Daytime server and can start at log-on. horalia-say speaks, prints or\n"
    "renders one announcement from the command line.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's platform plugins (X11, Wayland).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Sound, the Chinese texts, Qt's own dialogs in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pipewire-pulse | pulseaudio, fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
# Links open through the desktop portal where one runs; xdg-open serves desktops without one (a
# portal without a desktop's backend offers no OpenURI, so suggesting it would not help there).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils, gnome-shell-extension-appindicator")

find_program(HORALIA_RPMBUILD rpmbuild)
if(HORALIA_RPMBUILD)
  list(APPEND CPACK_GENERATOR RPM)
  set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
  set(CPACK_RPM_PACKAGE_LICENSE "Proprietary")
  set(CPACK_RPM_PACKAGE_GROUP "Applications/Productivity")
  set(CPACK_RPM_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
  # Folders that belong to the system's own packages, and no build-id links (the binaries are
  # stripped).
  set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none")
  set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
      /usr/share/applications /usr/share/icons /usr/share/icons/hicolor /usr/share/man
      /usr/share/man/man1 /usr/share/metainfo /usr/share/doc /usr/lib)
  file(GLOB icon_files ${PROJECT_SOURCE_DIR}/resources/icons/horalia-*.png)
  set(icon_folders scalable)
  foreach(icon ${icon_files})
    string(REGEX REPLACE ".*horalia-([0-9]+)[.]png$" "\\1x\\1" size ${icon})
    list(APPEND icon_folders ${size})
  endforeach()
  foreach(folder ${icon_folders})
    list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/icons/hicolor/${folder}
         /usr/share/icons/hicolor/${folder}/apps)
  endforeach()
endif()

include(CPack)
