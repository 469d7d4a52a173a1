# What the Windows programs build from, as Debian has no Windows builds of
# docopt.cpp, nlohmann-json or libpng: docopt compiled from the source that
# libdocopt-dev installs beside its header, and the header-only JSON library
# and stb PNG writer copied into the build tree, so that the host's other
# headers stay out of the cross build.
#
# Defines docopt_s and nlohmann_json::nlohmann_json, and sets
# VARNHOLT_PNG_LIBRARY to the target the PNG writer needs.

set(VARNHOLT_DOCOPT_SOURCE /usr/include/docopt/docopt.cpp CACHE FILEPATH
  "docopt.cpp source, as libdocopt-dev installs it")
set(VARNHOLT_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json's header folder")
set(VARNHOLT_STB_WRITER /usr/include/stb/stb_image_write.h CACHE FILEPATH
  "stb's PNG writer header")

# Each program is one file that loads no DLL beyond the system's own, without
# the symbols only a debugger reads.
add_link_options(-static -s)

set(THIRD_PARTY ${CMAKE_BINARY_DIR}/third_party)
get_filename_component(DOCOPT_HEADERS ${VARNHOLT_DOCOPT_SOURCE} DIRECTORY)
file(GLOB DOCOPT_FILES ${DOCOPT_HEADERS}/docopt*)
file(COPY ${DOCOPT_FILES} DESTINATION ${THIRD_PARTY}/docopt)
file(COPY ${VARNHOLT_JSON_HEADERS} DESTINATION ${THIRD_PARTY})
file(COPY ${VARNHOLT_STB_WRITER} DESTINATION ${THIRD_PARTY})

add_library(docopt_s STATIC ${THIRD_PARTY}/docopt/docopt.cpp)
target_include_directories(docopt_s SYSTEM PUBLIC ${THIRD_PARTY})
target_compile_options(docopt_s PRIVATE -w)

add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${THIRD_PARTY})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)

add_library(stb_image_write INTERFACE)
target_include_directories(stb_image_write SYSTEM INTERFACE ${THIRD_PARTY})
set(VARNHOLT_PNG_LIBRARY stb_image_write)

# A test helper: holds a file open as a running game holds its map.
add_executable(holdfile EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/windows/holdfile.cpp)
