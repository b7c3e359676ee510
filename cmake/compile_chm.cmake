# Compiles one folder of help pages into a .chm file with chmcmd:
#   cmake -DCHMCMD=... -DSOURCE=<folder> -DSTAGE=<scratch folder> -DOUTPUT=<file.chm> -DTITLE=...
#         [-DSTYLE=<style sheet>] -P compile_chm.cmake
# The pages, style sheets and pictures of SOURCE (not its subfolders other than
# img/) are copied to STAGE with a project file that lists them all, so that the
# file holds exactly what the folder holds, and STYLE beside them: one style
# sheet serves every help file.
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(GLOB pages RELATIVE ${SOURCE} ${SOURCE}/*.html ${SOURCE}/*.css ${SOURCE}/img/*.png ${SOURCE}/img/*.gif ${SOURCE}/img/*.jpg)
if(STYLE)
  get_filename_component(style ${STYLE} NAME)
  list(FIND pages ${style} found)
  if(found EQUAL -1)
    file(COPY ${STYLE} DESTINATION ${STAGE})
    list(APPEND pages ${style})
  endif()
endif()
list(SORT pages)
if(NOT pages)
  message(FATAL_ERROR "no help pages in ${SOURCE}")
endif()
get_filename_component(name ${OUTPUT} NAME)
set(project "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=${name}\r\nDefault topic=index.html\r\nDisplay compile progress=No\r\nLanguage=0x419 Russian\r\nTitle=${TITLE}\r\n\r\n[FILES]\r\n")
foreach(p ${pages})
  get_filename_component(dir ${p} DIRECTORY)
  if(EXISTS ${SOURCE}/${p})
    file(COPY ${SOURCE}/${p} DESTINATION ${STAGE}/${dir})
  endif()
  string(APPEND project "${p}\r\n")
endforeach()
file(WRITE ${STAGE}/project.hhp "${project}")
execute_process(COMMAND ${CHMCMD} --no-html-scan project.hhp WORKING_DIRECTORY ${STAGE}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0 OR NOT EXISTS ${STAGE}/${name})
  message(FATAL_ERROR "chmcmd failed on ${SOURCE}:\n${out}")
endif()
get_filename_component(outdir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${outdir})
file(COPY_FILE ${STAGE}/${name} ${OUTPUT} ONLY_IF_DIFFERENT)
