# The Windows installation, made on Debian (scripts/windows/build-app.sh): the
# programs, the Qt and MinGW run-time DLLs and plugins they load, the shipped data
# and help, as a portable zip and an NSIS installer (CPack).
# Layout under the installation folder (C:\Program Files\Pelorin by default):
#   pelorin.exe, pelorin-cli.exe, the DLLs, qt.conf
#   platforms\, styles\, imageformats\   Qt plugins (Windows printing is
#             part of Qt6PrintSupport.dll itself)
#   translations\qtbase_ru.qm                           Qt's own Russian texts
#   data\     the data directory as shipped (copied on the first start into
#             %LOCALAPPDATA%\Pelorin\data\, with %APPDATA%\Pelorin\main.dat)
#   system\   the help files
install(TARGETS pelorin-cli RUNTIME DESTINATION .)
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION data PATTERN pelorin.lck EXCLUDE)
install(DIRECTORY DESTINATION system)
install(DIRECTORY ${CMAKE_BINARY_DIR}/system/ DESTINATION system OPTIONAL FILES_MATCHING PATTERN "*.chm")
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/resources/Glyphar3-OFL.txt DESTINATION doc)

if(TARGET pelorin)
  install(TARGETS pelorin RUNTIME DESTINATION .)
  # Qt's imported targets belong to the folders that found them: found here again.
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)
  # Qt's libraries and the plugins the program loads.
  foreach(module Core Gui Widgets PrintSupport)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
  endforeach()
  foreach(plugin QWindowsIntegrationPlugin:platforms QWindowsVistaStylePlugin:styles
                 QWindowsPrinterSupportPlugin:printsupport QJpegPlugin:imageformats)
    string(REPLACE ":" ";" parts ${plugin})
    list(GET parts 0 target)
    list(GET parts 1 folder)
    if(TARGET Qt6::${target})
      install(FILES $<TARGET_FILE:Qt6::${target}> DESTINATION ${folder})
    endif()
  endforeach()
  # The run-time libraries of MinGW-w64 that Qt and the programs share.
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${path}")
      find_file(path_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
      set(path ${path_${dll}})
    endif()
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "MinGW run-time library ${dll} not found")
    endif()
    install(FILES ${path} DESTINATION .)
  endforeach()
  # Qt's own dialogs in Russian: the translation of the host's Qt of the same
  # version (qt6-translations-l10n); the files do not depend on the system.
  find_file(PELORIN_QTBASE_RU qtbase_ru.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(PELORIN_QTBASE_RU)
    install(FILES ${PELORIN_QTBASE_RU} DESTINATION translations)
  endif()
  # The DLLs come with their debugging sections (libstdc++ alone is 23 MB):
  # stripped where the programs are.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      file(GLOB_RECURSE dlls \"\${CMAKE_INSTALL_PREFIX}/*.dll\")
      execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dlls})
    endif()")
  file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
  install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION .)
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Pelorin)
set(CPACK_PACKAGE_VENDOR Pelorin)
set(CPACK_PACKAGE_FILE_NAME "pelorin-${PROJECT_VERSION}-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Pelorin)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Pelorin)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Astrological compatibility of a woman and a man (Russian interface)")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
# NSIS: a 64-bit Unicode installer (the script is UTF-8 with its byte-order mark)
# into the 64-bit Program Files, the
# program's icon, a Start-menu entry, an uninstaller in "Programs and Features".
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Pelorin)
set(CPACK_NSIS_DISPLAY_NAME Pelorin)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/icons/pelorin.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/icons/pelorin.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME pelorin.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
set(CPACK_PACKAGE_EXECUTABLES pelorin Pelorin)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN pelorin.exe)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
include(CPack)
