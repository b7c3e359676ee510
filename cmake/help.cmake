# The help files of the program, compiled from help/ into the system directory of
# the build tree, ${CMAKE_BINARY_DIR}/system (the run command names it, and the
# installed program gets a copy of it): PelorinHelp.chm from help/ and
# Korvantis_7.chm (the add-city dialog's) from help/korvantis/.
set(PELORIN_SYSTEM_DIR ${CMAKE_BINARY_DIR}/system)
find_program(CHMCMD chmcmd)
if(NOT CHMCMD)
  message(WARNING "chmcmd (Debian fp-utils) not found: the help files are not built")
  return()
endif()

# The style sheet of help/ serves both files.
set(PELORIN_HELP_STYLE ${CMAKE_SOURCE_DIR}/help/help.css)

function(pelorin_help_file target source output title)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${source}/*.html ${source}/*.css ${source}/img/*)
  add_custom_command(OUTPUT ${PELORIN_SYSTEM_DIR}/${output}
    COMMAND ${CMAKE_COMMAND} -DCHMCMD=${CHMCMD} -DSOURCE=${source}
      -DSTAGE=${CMAKE_BINARY_DIR}/help-stage/${target} -DOUTPUT=${PELORIN_SYSTEM_DIR}/${output}
      -DTITLE=${title} -DSTYLE=${PELORIN_HELP_STYLE} -P ${CMAKE_SOURCE_DIR}/cmake/compile_chm.cmake
    DEPENDS ${inputs} ${PELORIN_HELP_STYLE} ${CMAKE_SOURCE_DIR}/cmake/compile_chm.cmake
    COMMENT "Compiling ${output}" VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${PELORIN_SYSTEM_DIR}/${output})
endfunction()

pelorin_help_file(pelorin_help_main ${CMAKE_SOURCE_DIR}/help PelorinHelp.chm Pelorin)
pelorin_help_file(pelorin_help_korvantis ${CMAKE_SOURCE_DIR}/help/korvantis Korvantis_7.chm Korvantis)
add_custom_target(pelorin_help DEPENDS pelorin_help_main pelorin_help_korvantis)
