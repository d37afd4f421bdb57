# The pictures of the window in the help file: the example snapshots
# docs/dialog.svg (Generate List for tags on the example scene),
# docs/missing_plugins.svg (Find Missing Plugins on the example scene),
# docs/folder_search.svg (Find Missing Plugins in Folder on the example
# project) and docs/folder_clean.svg (Remove Missing Plugins in Folder on the
# example project), kept current by the driver's tests, converted to PDF with
# rsvg-convert and made readable for groff with perl (which groff's PDF writer
# needs anyway). Without them the help has no pictures. Sets
# CLEARTRACE_HELP_PICTURE, CLEARTRACE_HELP_MISSING_PICTURE,
# CLEARTRACE_HELP_FOLDER_PICTURE and CLEARTRACE_HELP_CLEAN_PICTURE to the PDFs,
# or all to nothing.
find_program(CLEARTRACE_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
find_program(CLEARTRACE_PERL perl NO_CMAKE_FIND_ROOT_PATH)
set(CLEARTRACE_HELP_PICTURE "" CACHE INTERNAL "")
set(CLEARTRACE_HELP_MISSING_PICTURE "" CACHE INTERNAL "")
set(CLEARTRACE_HELP_FOLDER_PICTURE "" CACHE INTERNAL "")
set(CLEARTRACE_HELP_CLEAN_PICTURE "" CACHE INTERNAL "")

# Converts docs/NAME.svg into help/NAME.pdf of the build folder.
function(cleartrace_help_picture name)
  set(folder ${CMAKE_BINARY_DIR}/help)
  add_custom_command(OUTPUT ${folder}/${name}.pdf
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                     COMMAND ${CLEARTRACE_RSVG_CONVERT} -f pdf -o ${folder}/${name}-cairo.pdf
                             ${PROJECT_SOURCE_DIR}/docs/${name}.svg
                     COMMAND ${CLEARTRACE_PERL} ${PROJECT_SOURCE_DIR}/cmake/pdf_for_gropdf.pl
                             ${folder}/${name}-cairo.pdf ${folder}/${name}.pdf
                     DEPENDS ${PROJECT_SOURCE_DIR}/docs/${name}.svg ${PROJECT_SOURCE_DIR}/cmake/pdf_for_gropdf.pl
                     COMMENT "Converting the picture ${name}.svg for the help file" VERBATIM)
endfunction()

if(CLEARTRACE_RSVG_CONVERT AND CLEARTRACE_PERL)
  cleartrace_help_picture(dialog)
  cleartrace_help_picture(missing_plugins)
  cleartrace_help_picture(folder_search)
  cleartrace_help_picture(folder_clean)
  set(CLEARTRACE_HELP_PICTURE ${CMAKE_BINARY_DIR}/help/dialog.pdf CACHE INTERNAL "")
  set(CLEARTRACE_HELP_MISSING_PICTURE ${CMAKE_BINARY_DIR}/help/missing_plugins.pdf CACHE INTERNAL "")
  set(CLEARTRACE_HELP_FOLDER_PICTURE ${CMAKE_BINARY_DIR}/help/folder_search.pdf CACHE INTERNAL "")
  set(CLEARTRACE_HELP_CLEAN_PICTURE ${CMAKE_BINARY_DIR}/help/folder_clean.pdf CACHE INTERNAL "")
else()
  message(WARNING "rsvg-convert or perl not found: the help file gets no pictures of the window "
                  "(install librsvg2-bin)")
endif()
