# The compile and link settings of the project's own targets, given to each of
# them by cleartrace_target_settings(). Nothing is set for the whole directory
# tree, so the libraries built from others' sources (GoogleTest in a cross
# build) keep their own settings.
#
# Warnings are always on; they stop the build only with CLEARTRACE_WERROR (on in
# the presets and CI), so a user or a packager with another compiler version
# still gets a build.
option(CLEARTRACE_WERROR "Treat the project's warnings as errors" OFF)

# The module is built without type information, which the vptr check needs in
# every file that uses the module's classes.
set(CLEARTRACE_SANITIZER_OPTIONS -fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=all
                                 -fno-omit-frame-pointer)

function(cleartrace_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                           -Wnon-virtual-dtor $<$<BOOL:${CLEARTRACE_WERROR}>:-Werror>)
  # g++ 12 at -O2 and above misreads "literal" + std::string as an overlapping
  # memcpy (a false -Wrestrict), in the tests and, at -O3, in the validator.
  target_compile_options(${target} PRIVATE
                         $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
  # Source locations (console lines, allocations) name files relative to the
  # tree, so every build and every target reports the same locations.
  target_compile_options(${target} PRIVATE -fmacro-prefix-map=${PROJECT_SOURCE_DIR}/=)
  if(CLEARTRACE_SANITIZE)
    target_compile_options(${target} PRIVATE ${CLEARTRACE_SANITIZER_OPTIONS})
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(CLEARTRACE_FUZZ)
    # Every file gets libFuzzer's coverage counters; only the fuzz targets link
    # its main. The ignore list spares third-party headers.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link ${CLEARTRACE_SANITIZER_OPTIONS}
                                             -fsanitize-ignorelist=${PROJECT_SOURCE_DIR}/cmake/sanitizer_ignorelist.txt)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# The standard headers most files of the host, the driver, the validator and the
# tests read: cleartrace_common_headers(target [UNOPTIMISED] [HEADERS header...])
# parses them once for the target rather than once per file. UNOPTIMISED says
# the target's files are compiled without optimisation whatever the build.
# g++ before 13 warns falsely of out-of-bounds copies in std::string's inlined
# code (-Warray-bounds, -Wstringop-overflow) when these headers are
# precompiled for optimised code: there each file reads them itself.
function(cleartrace_common_headers target)
  cmake_parse_arguments(PARSE_ARGV 1 common "UNOPTIMISED" "" "HEADERS")
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13 AND NOT common_UNOPTIMISED
     AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    return()
  endif()
  target_precompile_headers(${target} PRIVATE <algorithm> <cstdint> <filesystem> <functional> <map> <memory> <string>
                                              <string_view> <vector> ${common_HEADERS})
endfunction()
