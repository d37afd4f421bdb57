# nlohmann-json, RapidJSON and GoogleTest. A native build uses the installed packages. A
# cross build cannot use the build machine's packages as they are: it takes the
# header-only JSON libraries from them and builds GoogleTest from Debian's source package.
find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND)
  find_path(CLEARTRACE_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  # A copy, so that no other header of the build machine reaches a cross build.
  file(COPY ${CLEARTRACE_JSON_INCLUDE}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/_deps/include)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/_deps/include)
endif()

# RapidJSON reads scene files. Debian's package has no CMake target to link, only its headers.
find_path(CLEARTRACE_RAPIDJSON_INCLUDE rapidjson/reader.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(cleartrace_rapidjson INTERFACE)
if(CMAKE_CROSSCOMPILING)
  file(COPY ${CLEARTRACE_RAPIDJSON_INCLUDE}/rapidjson DESTINATION ${CMAKE_BINARY_DIR}/_deps/include)
  target_include_directories(cleartrace_rapidjson SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/_deps/include)
else()
  target_include_directories(cleartrace_rapidjson SYSTEM INTERFACE ${CLEARTRACE_RAPIDJSON_INCLUDE})
endif()

if(CLEARTRACE_TESTS)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest QUIET)
  endif()
  if(NOT GTest_FOUND)
    set(CLEARTRACE_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources, for cross builds")
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${CLEARTRACE_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
    # GoogleTest's own build names its targets GTest::gtest and GTest::gtest_main as well.
  endif()
endif()
