# The installed layout and the Debian package (cpack -G DEB in the build folder).
# The program, the command-line tool and the plug-ins stay together under
# lib/tesvana, as in the build folder, so the plug-in lookup beside the program
# works unchanged; the launchers on the PATH are links to them.
set(TESVANA_INSTALL_DIR lib/tesvana)

install(TARGETS Tesvana tesvana-cli RUNTIME DESTINATION ${TESVANA_INSTALL_DIR})
install(FILES ${TESVANA_LIMITS} DESTINATION ${TESVANA_INSTALL_DIR}/tesvana/limits)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${TESVANA_INSTALL_DIR}/help OPTIONAL)
install(FILES ${TESVANA_BIN_DIR}/help/sample-report.pdf DESTINATION ${TESVANA_INSTALL_DIR}/help OPTIONAL)

set(TESVANA_PACKAGING ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TESVANA_PACKAGING})
file(CREATE_LINK ../${TESVANA_INSTALL_DIR}/Tesvana ${TESVANA_PACKAGING}/tesvana SYMBOLIC)
file(CREATE_LINK ../${TESVANA_INSTALL_DIR}/tesvana-cli ${TESVANA_PACKAGING}/tesvana-cli SYMBOLIC)
install(FILES ${TESVANA_PACKAGING}/tesvana ${TESVANA_PACKAGING}/tesvana-cli DESTINATION bin)

configure_file(${CMAKE_SOURCE_DIR}/packaging/example.korvelin.Tesvana.metainfo.xml
               ${TESVANA_PACKAGING}/example.korvelin.Tesvana.metainfo.xml @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tesvana.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tesvana.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${TESVANA_PACKAGING}/example.korvelin.Tesvana.metainfo.xml DESTINATION share/metainfo)

# Debian wants the copyright and a compressed changelog in the package's doc folder.
file(WRITE ${TESVANA_PACKAGING}/changelog
     "tesvana (${PROJECT_VERSION}) stable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- Korvelin <support@korvelin.example>  Mon, 07 Dec 2026 00:00:00 +0000\n")
execute_process(COMMAND gzip -n -9 -f -k ${TESVANA_PACKAGING}/changelog)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${TESVANA_PACKAGING}/changelog.gz
        DESTINATION share/doc/tesvana)
foreach(page tesvana.1 tesvana-cli.1)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/${page} ${TESVANA_PACKAGING}/${page} @ONLY)
    execute_process(COMMAND gzip -n -9 -f -k ${TESVANA_PACKAGING}/${page})
    install(FILES ${TESVANA_PACKAGING}/${page}.gz DESTINATION share/man/man1)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesvana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Korvelin)
set(CPACK_PACKAGE_CONTACT "Korvelin <support@korvelin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "magnetic field meter for three-axis Hall probes")
set(CPACK_PACKAGE_DESCRIPTION "Tesvana drives a three-axis Hall-effect magnetic field probe: live field,\n\
spectrum, figure of merit per frequency band against exposure limits and\n\
field maps. It records, replays, saves and reloads measurements. The\n\
tesvana-cli tool measures from scripts and analyses saved recordings.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.korvelin.example)
# Libraries from dpkg-shlibdeps; the QML modules and the OpenGL driver the front end loads at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-controls2, qml-module-qtquick-layouts, qml-module-qtquick-window2, qml-module-qtquick-dialogs, qml-module-qtcharts, qml-module-qtdatavisualization, qml-module-qt-labs-platform, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
