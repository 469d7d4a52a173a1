# varnholt_layer(<folder> SOURCES <files or globs>... [GENERATED <files>...]
#                [USES <layer targets>...])
#
# Makes the library varnholt_<folder> of src/<folder>/ and of the GENERATED
# sources, which the build makes (a glob would miss them before it has). Its headers are
# reachable only as "<folder>/x.h" through ${LAYERS}/<folder>, a directory
# holding one link to the folder; the library and whatever links it see that
# view, and each library links only the layers it uses, so a source that
# includes a header of a layer it does not use fails to build.
#
# varnholt_layer_checks() adds one test per layer that proves it: with the
# layer's own include directories, a header of the layer compiles and a
# header of every layer it does not use is not found. One more test proves
# the public headers stand alone: each compiles with include/ as the only
# include directory, where no header of any layer is found.
function(varnholt_layer folder)
  cmake_parse_arguments(LAYER "" "" "SOURCES;GENERATED;USES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${LAYER_SOURCES})
  file(MAKE_DIRECTORY ${LAYERS}/${folder})
  file(CREATE_LINK ${SRC}/${folder} ${LAYERS}/${folder}/${folder} SYMBOLIC)
  add_library(varnholt_${folder} STATIC ${sources} ${LAYER_GENERATED})
  target_include_directories(varnholt_${folder} PUBLIC ${LAYERS}/${folder})
  target_link_libraries(varnholt_${folder} PUBLIC ${LAYER_USES})

  set(below ${folder})
  foreach(used ${LAYER_USES})
    string(REPLACE "varnholt_" "" usedFolder ${used})
    get_property(usedBelow GLOBAL PROPERTY VARNHOLT_LAYER_${usedFolder})
    list(APPEND below ${usedBelow})
  endforeach()
  list(REMOVE_DUPLICATES below)
  set_property(GLOBAL PROPERTY VARNHOLT_LAYER_${folder} ${below})
  set_property(GLOBAL APPEND PROPERTY VARNHOLT_LAYERS ${folder})
endfunction()

# The first header of a layer's folder, by name; empty for a folder without.
function(varnholt_layer_header folder out)
  file(GLOB headers RELATIVE ${SRC} ${SRC}/${folder}/*.h)
  list(SORT headers)
  set(first)
  if(headers)
    list(GET headers 0 first)
  endif()
  set(${out} ${first} PARENT_SCOPE)
endfunction()

function(varnholt_layer_checks)
  get_property(layers GLOBAL PROPERTY VARNHOLT_LAYERS)
  foreach(folder ${layers})
    get_property(below GLOBAL PROPERTY VARNHOLT_LAYER_${folder})
    varnholt_layer_header(${folder} own)
    set(above)
    foreach(other ${layers})
      varnholt_layer_header(${other} header)
      if(header AND NOT other IN_LIST below)
        list(APPEND above ${header})
      endif()
    endforeach()
    # Lists travel joined with '|': a ';' would split the test's arguments.
    set(includes "$<JOIN:$<TARGET_PROPERTY:varnholt_${folder},INCLUDE_DIRECTORIES>,|>")
    list(JOIN above "|" aboveJoined)
    add_test(NAME Layers.${folder}SeesNoLayerItDoesNotUse
      COMMAND ${CMAKE_COMMAND} -DCOMPILER=${CMAKE_CXX_COMPILER}
        "-DINCLUDES=${includes}" "-DOWN=${own}" "-DABOVE=${aboveJoined}"
        -DWORK=${CMAKE_BINARY_DIR}/layer-checks/${folder}
        -P ${CMAKE_SOURCE_DIR}/cmake/checklayer.cmake)
  endforeach()

  file(GLOB_RECURSE public RELATIVE ${CMAKE_SOURCE_DIR}/include ${CMAKE_SOURCE_DIR}/include/*.h)
  list(SORT public)
  set(internal)
  foreach(other ${layers})
    varnholt_layer_header(${other} header)
    if(header)
      list(APPEND internal ${header})
    endif()
  endforeach()
  list(JOIN public "|" publicJoined)
  list(JOIN internal "|" internalJoined)
  add_test(NAME Layers.PublicHeadersIncludeOnlyPublicHeaders
    COMMAND ${CMAKE_COMMAND} -DCOMPILER=${CMAKE_CXX_COMPILER}
      -DINCLUDES=${CMAKE_SOURCE_DIR}/include "-DOWN=${publicJoined}" "-DABOVE=${internalJoined}"
      -DWORK=${CMAKE_BINARY_DIR}/layer-checks/public
      -P ${CMAKE_SOURCE_DIR}/cmake/checklayer.cmake)
endfunction()
