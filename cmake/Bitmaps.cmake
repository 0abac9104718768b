# The interface bitmaps as a resource file for Winelib targets.
#
#   celvane_add_bitmap_resources(<target>)
#
# compiles resources/bitmaps.rc with wrc, gives the strips their real names
# ("PLANETS_96_" -> "PLANETS(96)", which wrc cannot spell) with
# tools/fix_res_names.py, and adds the resulting .res to the target beside
# any resource file of its own. The BMP files are committed; re-draw them
# with tools/make_bitmaps.py.

find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(CELVANE_BITMAPS_RC ${CMAKE_SOURCE_DIR}/resources/bitmaps.rc)
file(GLOB CELVANE_BITMAP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/bitmaps/*.bmp)

function(celvane_add_bitmap_resources target)
  set(raw ${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps_wrc.res)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_bitmaps.res)
  add_custom_command(OUTPUT ${res}
    COMMAND ${CELVANE_WRC} -I${CMAKE_SOURCE_DIR}/resources -o ${raw} ${CELVANE_BITMAPS_RC}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/fix_res_names.py ${raw} ${res}
    DEPENDS ${CELVANE_BITMAPS_RC} ${CELVANE_BITMAP_FILES} ${CMAKE_SOURCE_DIR}/tools/fix_res_names.py
    COMMENT "Compiling the interface bitmaps for ${target}"
    VERBATIM)
  set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${res})
endfunction()
