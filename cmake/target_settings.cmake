# Warnings for the project's own targets. They are always on; they stop the
# build only with CLEARTRACE_WERROR (on in the presets and CI), so a user or a
# packager with another compiler version still gets a build.
option(CLEARTRACE_WERROR "Treat the project's warnings as errors" OFF)

function(cleartrace_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                           -Wnon-virtual-dtor $<$<BOOL:${CLEARTRACE_WERROR}>:-Werror>)
endfunction()
