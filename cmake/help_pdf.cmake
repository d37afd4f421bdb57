# Builds the help PDF from its groff source (ms macros, tbl tables).
# Usage: cmake -DGROFF=... -DVERSION=... -DSOURCE=... -DOUTPUT=... [-DPICTURE=window.pdf] -P help_pdf.cmake
# With PICTURE the help shows the window; including a PDF needs groff's unsafe mode.
set(picture_options "")
if(PICTURE)
  set(picture_options -U -dDialogPicture=${PICTURE})
endif()
execute_process(COMMAND ${GROFF} -ms -t -Tpdf -ww -dVERSION=${VERSION} ${picture_options} ${SOURCE} OUTPUT_FILE ${OUTPUT}.part
                RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "groff could not build ${OUTPUT}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
