# Install rules and the Debian package (CPack's DEB generator).
# The program goes on the PATH; what ships with it (the bank, the exhibits)
# where the FHS puts architecture-independent data, which is where the
# program looks when the bank is not beside it: ../share/velarix.
include(GNUInstallDirs)

set(VELARIX_APP_ID com.examora.velarix)
set(VELARIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velarix)

install(FILES ${PROGRAM_DIR}/velarix2.DAT DESTINATION ${VELARIX_DATA_DIR})
install(DIRECTORY ${PROGRAM_DIR}/exhibits DESTINATION ${VELARIX_DATA_DIR})

set(DESKTOP_DIR ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${DESKTOP_DIR}/${VELARIX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DESKTOP_DIR}/${VELARIX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/velarix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${VELARIX_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/velarix-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${VELARIX_APP_ID}.png)
endforeach()

# Manual page and changelog compressed as Debian policy asks (no time stamp,
# so the package is the same from one build to the next).
set(PACKAGE_DOC_BUILD ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${PACKAGE_DOC_BUILD})
foreach(pair "man/velarix.1;velarix.1.gz" "debian/changelog;changelog.gz")
  list(GET pair 0 from)
  list(GET pair 1 to)
  add_custom_command(
    OUTPUT ${PACKAGE_DOC_BUILD}/${to}
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${from} > ${PACKAGE_DOC_BUILD}/${to}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${from}
    VERBATIM)
  list(APPEND PACKAGE_DOC_FILES ${PACKAGE_DOC_BUILD}/${to})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${PACKAGE_DOC_FILES})
install(FILES ${PACKAGE_DOC_BUILD}/velarix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PACKAGE_DOC_BUILD}/changelog.gz ${PROJECT_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velarix)

# What the program needs at run time that no linked library names: the Qt
# plugins it loads (a window on X11, the SVG icons and exhibits) and fonts
# (the exhibits' metafile text, the printouts). Each plugin's package is
# asked of dpkg, since it differs between Debian releases.
set(VELARIX_RUNTIME_DEPENDS fonts-dejavu-core fonts-liberation fonts-urw-base35)
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY)
  foreach(plugin platforms/libqxcb.so iconengines/libqsvgicon.so imageformats/libqsvg.so)
    execute_process(COMMAND ${DPKG_QUERY} -S "*/qt6/plugins/${plugin}" OUTPUT_VARIABLE owner
                    ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REGEX REPLACE ":.*" "" owner "${owner}")
    if(owner)
      list(APPEND VELARIX_RUNTIME_DEPENDS ${owner})
    endif()
  endforeach()
endif()
list(REMOVE_DUPLICATES VELARIX_RUNTIME_DEPENDS)
list(JOIN VELARIX_RUNTIME_DEPENDS ", " VELARIX_RUNTIME_DEPENDS_TEXT)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velarix)
set(CPACK_PACKAGE_VENDOR Examora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Examora <support@examora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timed practice exams for the VLX-210 Linux server exam")
# CPack puts the summary above this and indents its lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Velarix 2.0, by Examora, prepares candidates for Exam VLX-210, Administering
Linux Servers: timed practice exams from a bank of 300 questions, marking,
learn mode, explanations, private notes, a score report with charts, an items
review, printouts, a score history with a retake of the wrong items, and a
Test Sampler for writing, importing and exporting one's own questions.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.examora.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VELARIX_RUNTIME_DEPENDS_TEXT}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Only the program's own files: the tests, tools and benchmarks are not installed.
set(CPACK_DEB_COMPONENT_INSTALL OFF)
include(CPack)
