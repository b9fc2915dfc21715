# Installation layout and the Debian package (cpack -G DEB, or the "package" target).
# The programs find <prefix>/share/zeb from their own directory, so the layout below is what
# app/data_directory.cpp expects: keep the two in step.

set(ZEB_DATA_DIR ${CMAKE_INSTALL_DATADIR}/zeb)
set(ZEB_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(ZEB_APPSTREAM_ID org.zeb_project.zeb)
set(ZEB_WEB_URL "https://zeb.invalid" CACHE STRING
    "Web address where screenshots/main-window.png is published (AppStream metainfo)")

# Whole directories, so help pages and example projects added later are installed too.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${ZEB_DATA_DIR}/help)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/examples/ DESTINATION ${ZEB_DATA_DIR}/examples)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeb
        RENAME copyright)

# Man pages are installed compressed, as Debian ships them.
set(ZEB_MAN_PAGES zeb-cli.1)
if(TARGET zeb)
  list(APPEND ZEB_MAN_PAGES zeb.1)
endif()
set(ZEB_MAN_FILES)
foreach(page ${ZEB_MAN_PAGES})
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E copy ${ZEB_PACKAGING_DIR}/${page} ${CMAKE_BINARY_DIR}/man/${page}
    COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${page}
    DEPENDS ${ZEB_PACKAGING_DIR}/${page} VERBATIM)
  list(APPEND ZEB_MAN_FILES ${gz})
endforeach()
add_custom_target(zeb_man ALL DEPENDS ${ZEB_MAN_FILES})
install(FILES ${ZEB_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET zeb)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/zeb.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${ZEB_PACKAGING_DIR}/icons/zeb-48.png DESTINATION ${icons}/48x48/apps RENAME zeb.png)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/zeb.png DESTINATION ${icons}/128x128/apps)
  install(FILES ${ZEB_PACKAGING_DIR}/icons/zeb-256.png DESTINATION ${icons}/256x256/apps
          RENAME zeb.png)
  install(FILES ${ZEB_PACKAGING_DIR}/icons/zeb.svg DESTINATION ${icons}/scalable/apps)
  install(FILES ${ZEB_PACKAGING_DIR}/zeb-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME zeb.xml)
  configure_file(${ZEB_PACKAGING_DIR}/zeb.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/${ZEB_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${ZEB_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# --- Debian package ----------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeb)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZEB developers")
set(CPACK_PACKAGE_CONTACT "The ZEB developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calco-carbonic equilibrium of drinking water")
# The package's long description; CPack puts the summary above it and indents it.
set(CPACK_PACKAGE_DESCRIPTION
    "From the laboratory analyses of up to three waters ZEB computes the carbonate
system, ion pairs, the calcite saturation (SI, pHc, Dc), the doses of seven
chemicals to SI = 0 or pH 7.8, blends of the waters, conditioning with a
chemical and an assessment after DVGW W 216, and prints or saves fixed-width
reports in German or English. The desktop program zeb and the command-line
program zeb-cli share one engine.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped programs: no debug information, and with it no build path, goes into the package.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see it: Qt's own German dialog texts. Courier
# New is mapped to Liberation Mono for printing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
include(CPack)

# ./test builds the package from this build (again only when something in it changed) and checks
# what it holds and that it runs.
if(ZEB_BUILD_TESTS AND TARGET zeb)
  add_test(NAME package
           COMMAND ${ZEB_PACKAGING_DIR}/check_package.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(package PROPERTIES TIMEOUT 300)
endif()
