# `cmake --install` and the Debian package (`cpack -G DEB` in the build directory).
# Installed layout under the prefix (/usr for the package):
#   bin/pelorin, bin/pelorin-cli
#   share/pelorin/data/     the data directory as shipped (copied into a user's
#                           ~/.local/share/pelorin/data on the program's first start)
#   share/pelorin/system/   the help files; main.dat's system directory points here
#   share/applications/pelorin.desktop, share/icons/hicolor/*/apps/pelorin.*
#   share/doc/pelorin/      README, the symbol font's licence, copyright, changelog
#   share/man/man1, share/man/ru/man1   the manual pages of both programs
# The program finds share/pelorin from its own place (bin/../share/pelorin).
include(GNUInstallDirs)
set(PELORIN_SHARE ${CMAKE_INSTALL_DATADIR}/pelorin)

if(TARGET pelorin)
  install(TARGETS pelorin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS pelorin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The data directory as shipped: the files of data/ in the source tree and the
# databases the build packs from data/texts. Not the build's data folder as a
# whole: what a run or a test leaves there (a lock file, reports) is no part of it.
file(GLOB PELORIN_INSTALL_DATA ${CMAKE_SOURCE_DIR}/data/*.DAT ${CMAKE_SOURCE_DIR}/data/*.wdt
  ${CMAKE_SOURCE_DIR}/data/*.tzt ${CMAKE_SOURCE_DIR}/data/*.tbl ${CMAKE_SOURCE_DIR}/data/*.in
  ${CMAKE_SOURCE_DIR}/data/*.alt)
install(FILES ${PELORIN_INSTALL_DATA} DESTINATION ${PELORIN_SHARE}/data)
if(EXISTS ${CMAKE_SOURCE_DIR}/data/texts/aspects.txt)
  foreach(n data1.dat data1_d.dat as1.dat pla1.dat data2.dat data2_d.dat as2.dat pla2.dat)
    install(FILES ${CMAKE_BINARY_DIR}/data/${n} DESTINATION ${PELORIN_SHARE}/data)
  endforeach()
endif()
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

# copyright (machine-readable) and changelog, with the maintainer, homepage and
# version of CMakeLists.txt; the changelog compressed as Debian keeps it.
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(pelorin_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelorin)

install(DIRECTORY ${CMAKE_BINARY_DIR}/man/ DESTINATION ${CMAKE_INSTALL_MANDIR} FILES_MATCHING PATTERN "*.1.gz")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelorin)
set(CPACK_PACKAGE_VENDOR "Pelorin")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PELORIN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PELORIN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "astrological compatibility of a woman and a man")
# Lines of at most 80 characters, as the control file wants them.
set(CPACK_PACKAGE_DESCRIPTION "Pelorin is a desktop program with a Russian interface. It keeps two lists of
people, computes their charts with its own astronomical routines and judges
the compatibility of a woman and a man: the mutual aspects, the man's planets
in the woman's houses, a percentage, a bi-wheel chart and two reports. It
ranks all men for one woman and prints the lists, the ranking and the chart.
.
The package includes the batch tool pelorin-cli, which prints every result
as JSON.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PELORIN_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the programs link come from dpkg-shlibdeps; what is loaded at
# run time without linking is named: the platform plugins, Qt's own Russian
# texts, and the metric-compatible Arial and Courier the pages are laid out in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
# The program shows and prints its reports itself; a word processor only opens
# the RTF files outside it. Suggested, never recommended: apt installs
# recommendations, and libreoffice-writer would replace a -nogui LibreOffice.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer | abiword")
include(CPack)
