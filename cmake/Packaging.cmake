# Installation and the Debian package. The programs kkt-config, kkt-sim and kkt-cli bring their own
# install rules; here the desktop entry and the icon, and CPack's settings.
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kkt-config.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kkt-config.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kkt-config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "kkt-config developers <kkt-config@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for a fiscal cash register (KKT) on a serial port")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Reads and writes the register's tables (cashiers, goods, sections, receipt header, agents, enterprises, "
    "stations), its GSM/Wi-Fi module parameters and its fiscal registration, keeps them in files and exchanges "
    "goods with 1C. Includes kkt-cli, the same operations from the command line, and kkt-sim, a register "
    "simulator on a pseudo-terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The library packages (Qt, libgsf, minizip, libxlsxwriter) are found from the programs themselves; the window also
# needs Qt's platform plugins, which no program links, and Qt's Russian texts for its standard dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# The build keeps its debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)
include(CPack)
