# The building footprint documents and how they become tables.
#
# Defines FOOTPRINT_KEYS, every document in catalogue order, and
# varnholt_footprint_tables(<output> <compiler target>), which runs the
# footprint compiler over them at build time. A document the compiler rejects
# fails the build with the parser's message.

set(FOOTPRINTS_ROMAN coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm big_livinghouse winegrower dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks castle stock hospital barrack forester
  ironmelt mill toolsmith charcoal_burner goldmine)
set(FOOTPRINTS_ASIAN coalmine small_livinghouse fisher harbor pig_farm tower distillery rice_farm
  ironmine sawmill big_tower donkey_farm farm big_livinghouse dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks castle stock hospital barrack forester
  ironmelt mill toolsmith goldmine sulfurmine)
set(FOOTPRINTS_EGYPTIAN coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm big_livinghouse dockyard market_place medium_livinghouse
  baker weaponsmith goldmelt lumberjack big_temple brewery slaughterhouse lookout_tower
  stonecutter temple waterworks gemsmine castle stock hospital barrack forester ironmelt
  mill toolsmith goldmine)
set(FOOTPRINTS_AMAZON coalmine small_livinghouse fisher harbor pig_farm tower ironmine sawmill
  big_tower donkey_farm farm beekeeping big_livinghouse winegrower dockyard market_place
  medium_livinghouse baker weaponsmith goldmelt lumberjack big_temple slaughterhouse
  lookout_tower stonecutter temple waterworks gemsmine castle stock hospital barrack
  forester ironmelt mill toolsmith goldmine sulfurmine)

set(FOOTPRINT_KEYS)
foreach(folder roman asian egyptian amazon)
  string(TOUPPER ${folder} upper)
  foreach(name ${FOOTPRINTS_${upper}})
    list(APPEND FOOTPRINT_KEYS meta/buildings/${folder}/${name}.xml)
  endforeach()
endforeach()

function(varnholt_footprint_tables output compiler)
  list(TRANSFORM FOOTPRINT_KEYS PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE documents)
  get_filename_component(directory ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${directory}
    COMMAND ${compiler} ${output} ${CMAKE_SOURCE_DIR} ${FOOTPRINT_KEYS}
    DEPENDS ${compiler} ${documents}
    COMMENT "Compiling the building footprint documents into tables"
    VERBATIM)
endfunction()
