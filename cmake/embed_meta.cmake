# Compiles the building footprint documents into the program.
#
# Included from CMakeLists.txt, it defines varnholt_embed_meta(target), which
# adds a generated source to target. Run as a script (cmake -P) at build time,
# it writes that source: varnholt::app::files, the (key, text) pairs of every
# document in catalogue order. The build reruns it whenever a document changes.

set(META_ROMAN coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm big_livinghouse winegrower dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks castle stock hospital barrack forester
  ironmelt mill toolsmith charcoal_burner goldmine)
set(META_ASIAN coalmine small_livinghouse fisher harbor pig_farm tower distillery rice_farm
  ironmine sawmill big_tower donkey_farm farm big_livinghouse dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks castle stock hospital barrack forester
  ironmelt mill toolsmith goldmine sulfurmine)
set(META_EGYPTIAN coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm big_livinghouse dockyard market_place medium_livinghouse
  baker weaponsmith goldmelt lumberjack big_temple brewery slaughterhouse lookout_tower
  stonecutter temple waterworks gemsmine castle stock hospital barrack forester ironmelt
  mill toolsmith goldmine)
set(META_AMAZON coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm beekeeping big_livinghouse winegrower dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks gemsmine castle stock hospital barrack
  forester ironmelt mill toolsmith goldmine sulfurmine)

set(META_KEYS)
foreach(folder roman asian egyptian amazon)
  string(TOUPPER ${folder} upper)
  foreach(name ${META_${upper}})
    list(APPEND META_KEYS meta/buildings/${folder}/${name}.xml)
  endforeach()
endforeach()

function(varnholt_embed_meta target)
  set(output ${CMAKE_BINARY_DIR}/generated/meta_files.cpp)
  list(TRANSFORM META_KEYS PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE documents)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTPUT=${output}
            -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${documents} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Embedding the building footprint documents"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  list(LENGTH META_KEYS count)
  # Each text becomes a raw string literal; this delimiter must not occur in it.
  set(close ")meta\"")
  set(body "// Generated at build time from meta/buildings/; edit the documents, not this file.\n")
  string(APPEND body "#include \"app/meta.h\"\n\nnamespace varnholt::app {\n\n")
  string(APPEND body "const std::array<MetaFile, ${count}> files = {{\n")
  foreach(key ${META_KEYS})
    file(READ ${SOURCE_DIR}/${key} text)
    string(FIND "${text}" "${close}" clash)
    if(NOT clash EQUAL -1)
      message(FATAL_ERROR "${key} contains ${close}, which ends the embedded literal")
    endif()
    string(APPEND body "    {\"${key}\", R\"meta(${text}${close}},\n")
  endforeach()
  string(APPEND body "}};\n\n}  // namespace varnholt::app\n")
  file(WRITE ${OUTPUT} "${body}")
endif()
