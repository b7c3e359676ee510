# `cmake --install` and the Debian package (`cpack -G DEB` in the build directory).
# Installed layout under the prefix (/usr for the package):
#   bin/pelorin, bin/pelorin-cli
#   share/pelorin/data/     the data directory as shipped (copied into a user's
#                           ~/.local/share/pelorin/data on the program's first start)
#   share/pelorin/system/   the help files; main.dat's system directory points here
#   share/applications/pelorin.desktop, share/icons/hicolor/*/apps/pelorin.*
#   share/doc/pelorin/      README and the symbol font's licence
# The program finds share/pelorin from its own place (bin/../share/pelorin).
include(GNUInstallDirs)
set(PELORIN_SHARE ${CMAKE_INSTALL_DATADIR}/pelorin)

if(TARGET pelorin)
  install(TARGETS pelorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS pelorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${PELORIN_SHARE}/data)
# The compiled help is built into ${CMAKE_BINARY_DIR}/system; the directory is
# made even before there is any.
install(DIRECTORY DESTINATION ${PELORIN_SHARE}/system)
install(DIRECTORY ${CMAKE_BINARY_DIR}/system/ DESTINATION ${PELORIN_SHARE}/system OPTIONAL
  FILES_MATCHING PATTERN "*.chm")

install(FILES ${CMAKE_SOURCE_DIR}/resources/pelorin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/pelorin-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME pelorin.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/pelorin.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/resources/Glyphar3-OFL.txt
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelorin)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelorin)
set(CPACK_PACKAGE_VENDOR "Pelorin")
set(CPACK_PACKAGE_CONTACT "Pelorin developers <pelorin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Astrological compatibility of a woman and a man (Russian interface)")
set(CPACK_PACKAGE_DESCRIPTION
  "Pelorin keeps two lists of people, computes their charts with its own astronomical routines, and judges the compatibility of a woman and a man: mutual aspects, the man's planets in the woman's houses, a percentage, a bi-wheel chart, two RTF reports, a ranking of all men and printed pages. Includes the batch tool pelorin-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/pelorin")
# The libraries the programs link come from dpkg-shlibdeps; what is loaded at
# run time without linking is named: the platform plugins, Qt's own Russian
# texts, and the metric-compatible Arial and Courier the pages are laid out in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-writer | abiword")
include(CPack)
