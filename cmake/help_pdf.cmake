# Builds the help PDF from its groff source (ms macros, tbl tables).
# Usage: cmake -DGROFF=... -DVERSION=... -DSOURCE=... -DOUTPUT=... [-DPICTURE=window.pdf]
#              [-DMISSING_PICTURE=missing.pdf] [-DFOLDER_PICTURE=folder.pdf] [-DCLEAN_PICTURE=clean.pdf]
#              -P help_pdf.cmake
# With PICTURE the help shows the window, with MISSING_PICTURE the window after
# Find Missing Plugins, with FOLDER_PICTURE the window after Find Missing
# Plugins in Folder, with CLEAN_PICTURE the window after Remove Missing Plugins
# in Folder; including a PDF needs groff's unsafe mode.
set(picture_options "")
if(PICTURE)
  list(APPEND picture_options -dDialogPicture=${PICTURE})
endif()
if(MISSING_PICTURE)
  list(APPEND picture_options -dMissingPicture=${MISSING_PICTURE})
endif()
if(FOLDER_PICTURE)
  list(APPEND picture_options -dFolderPicture=${FOLDER_PICTURE})
endif()
if(CLEAN_PICTURE)
  list(APPEND picture_options -dCleanPicture=${CLEAN_PICTURE})
endif()
if(picture_options)
  list(PREPEND picture_options -U)
endif()
execute_process(COMMAND ${GROFF} -ms -t -Tpdf -ww -dVERSION=${VERSION} ${picture_options} ${SOURCE} OUTPUT_FILE ${OUTPUT}.part
                RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "groff could not build ${OUTPUT}")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})
