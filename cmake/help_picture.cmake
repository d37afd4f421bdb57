# The picture of the window in the help file: the example snapshot
# docs/dialog.svg (Generate List for tags on the example scene, kept current by
# the driver's tests) converted to PDF with rsvg-convert and made readable for
# groff with perl (which groff's PDF writer needs anyway). Without them the
# help has no picture. Sets CLEARTRACE_HELP_PICTURE to the PDF, or to nothing.
find_program(CLEARTRACE_RSVG_CONVERT rsvg-convert NO_CMAKE_FIND_ROOT_PATH)
find_program(CLEARTRACE_PERL perl NO_CMAKE_FIND_ROOT_PATH)
set(CLEARTRACE_HELP_PICTURE "" CACHE INTERNAL "")
if(CLEARTRACE_RSVG_CONVERT AND CLEARTRACE_PERL)
  set(CLEARTRACE_HELP_PICTURE ${CMAKE_BINARY_DIR}/help/dialog.pdf CACHE INTERNAL "")
  add_custom_command(OUTPUT ${CLEARTRACE_HELP_PICTURE}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/help
                     COMMAND ${CLEARTRACE_RSVG_CONVERT} -f pdf -o ${CMAKE_BINARY_DIR}/help/dialog-cairo.pdf
                             ${PROJECT_SOURCE_DIR}/docs/dialog.svg
                     COMMAND ${CLEARTRACE_PERL} ${PROJECT_SOURCE_DIR}/cmake/pdf_for_gropdf.pl
                             ${CMAKE_BINARY_DIR}/help/dialog-cairo.pdf ${CLEARTRACE_HELP_PICTURE}
                     DEPENDS ${PROJECT_SOURCE_DIR}/docs/dialog.svg ${PROJECT_SOURCE_DIR}/cmake/pdf_for_gropdf.pl
                     COMMENT "Converting the window's picture for the help file" VERBATIM)
else()
  message(WARNING "rsvg-convert or perl not found: the help file gets no picture of the window "
                  "(install librsvg2-bin)")
endif()
