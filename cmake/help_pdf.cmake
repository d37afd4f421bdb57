# Builds the help PDF from its groff source (ms macros, tbl tables).
# Usage: cmake -DGROFF=... -DVERSION=... -DSOURCE=... -DOUTPUT=... -P help_pdf.cmake
execute_process(COMMAND ${GROFF} -ms -t -Tpdf -ww -dVERSION=${VERSION} ${SOURCE} OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "groff could not build ${OUTPUT}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
