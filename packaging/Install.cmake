# Installation as a desktop application and the Debian package built from it (make package).
include(GNUInstallDirs)

set(SWIFTLANE_APP_ID org.swiftlane.Swiftlane)
set(SWIFTLANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS swiftlane swiftlane-gatesim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SWIFTLANE_PACKAGING_DIR}/${SWIFTLANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SWIFTLANE_PACKAGING_DIR}/${SWIFTLANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The theme icons are drawn at build time by our own image generator.
set(SWIFTLANE_ICON_THEME_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(SWIFTLANE_ICON_STAMP ${CMAKE_BINARY_DIR}/icons/drawn.stamp)
add_custom_command(
  OUTPUT ${SWIFTLANE_ICON_STAMP}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:swiftlane-imagegen> --app-icons ${SWIFTLANE_ICON_THEME_DIR} ${SWIFTLANE_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${SWIFTLANE_ICON_STAMP}
  DEPENDS swiftlane-imagegen
  COMMENT "Drawing the desktop icons")
add_custom_target(swiftlane_icons ALL DEPENDS ${SWIFTLANE_ICON_STAMP})
install(DIRECTORY ${SWIFTLANE_ICON_THEME_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# A man page for each installed program, made from its --help and --version (which need no display)
# by Debian's help2man; scripts/install-deps.sh --package installs it.
find_program(SWIFTLANE_HELP2MAN help2man)
if(SWIFTLANE_HELP2MAN)
  set(SWIFTLANE_MAN_DIR ${CMAKE_BINARY_DIR}/man)
  set(SWIFTLANE_MAN_PAGES)
  foreach(entry "swiftlane|time sprint runs over up to four timing gates"
                "swiftlane-gatesim|simulated Swiftlane timing gates on a virtual gate adapter")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 summary)
    set(page ${SWIFTLANE_MAN_DIR}/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${SWIFTLANE_MAN_DIR}
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
              ${SWIFTLANE_HELP2MAN} --no-info --name=${summary} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program}
      COMMENT "Writing the man page of ${program}"
      VERBATIM)
    list(APPEND SWIFTLANE_MAN_PAGES ${page}.gz)
  endforeach()
  add_custom_target(swiftlane_man_pages ALL DEPENDS ${SWIFTLANE_MAN_PAGES})
  install(FILES ${SWIFTLANE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no man pages (scripts/install-deps.sh --package installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME swiftlane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Swiftlane")
set(CPACK_PACKAGE_CONTACT "Swiftlane developers <swiftlane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sprint timing over up to four timing gates")
set(CPACK_PACKAGE_DESCRIPTION
    "Times sprint and agility runs over a course of up to four timing gates: gate sequences, \
athletes, splits, best splits, total time and speed, with numbered CSV reports. \
Includes a gate simulator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugin at run time, so the linked libraries alone do not name it;
# libqt6gui6 only recommends it and a lean install would leave the program unable to open a window.
# The SQLite driver of the results history is such a plugin too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
# Qt's own German and Spanish texts for standard buttons and file dialogs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
