# The windows' languages: each catalogue in resources/translations is compiled by Qt's lrelease
# (Debian's qt6-l10n-tools) at build time and embedded in the application under :/i18n.
find_program(SWIFTLANE_LRELEASE NAMES lrelease lrelease-qt6 HINTS /usr/lib/qt6/bin REQUIRED)
find_program(SWIFTLANE_LUPDATE NAMES lupdate lupdate-qt6 HINTS /usr/lib/qt6/bin REQUIRED)
file(GLOB SWIFTLANE_CATALOGUES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/translations/*.ts)
set(qm_files)
foreach(catalogue ${SWIFTLANE_CATALOGUES})
  get_filename_component(stem ${catalogue} NAME_WE)
  set(qm ${CMAKE_CURRENT_BINARY_DIR}/i18n/${stem}.qm)
  add_custom_command(OUTPUT ${qm}
    COMMAND ${SWIFTLANE_LRELEASE} -silent ${catalogue} -qm ${qm}
    DEPENDS ${catalogue} VERBATIM)
  list(APPEND qm_files ${qm})
endforeach()
qt_add_resources(swiftlane_app swiftlane_translations PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}/i18n
  FILES ${qm_files})
