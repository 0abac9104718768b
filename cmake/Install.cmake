# `cmake --install`: Celvane for a Linux desktop, laid out after the GNU
# directories (defaults under /usr/local):
#
#   bin/celvane, bin/celvane-chart   the launcher (links to lib/celvane/celvane-launch)
#   bin/celvane-ephem                the ephemeris (a link to lib/celvane/celvane-ephem)
#   bin/celvane-mpc                  the MPC's element files as .pco files (needs no data)
#   lib/celvane/                     the programs: celvane.exe.so, celvane-chart.exe.so,
#                                    celvane-ephem, celvane-launch, and links to the data
#   share/celvane/                   stars.dat, the help, the shipped object files, the
#                                    bright-star resources (resources/)
#   share/applications/celvane.desktop, share/icons/hicolor/NxN/apps/celvane.png
#   share/doc/celvane/               README.md and the catalogues' provenance and licences
#
# Every program looks for its files in its own folder (the Winelib ones
# through their module path, celvane-ephem through /proc/self/exe), so
# lib/celvane holds relative links into share/celvane; all links are relative,
# so the tree works wherever it is unpacked (DESTDIR, a moved prefix).
set(CMAKE_INSTALL_DOCDIR share/doc/celvane CACHE PATH "documentation (share/doc/celvane)")
include(GNUInstallDirs)

set(CELVANE_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/celvane)
set(CELVANE_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/celvane)
set(CELVANE_ICON_SIZES 16 32 48 64 128 256)

# --- the program icon, drawn from the toolbar's art ----------------------------
find_program(CELVANE_PYTHON3 NAMES python3)
set(_icon_dir ${CMAKE_BINARY_DIR}/icons/hicolor)
set(_icons)
foreach(n ${CELVANE_ICON_SIZES})
  list(APPEND _icons ${_icon_dir}/${n}x${n}/apps/celvane.png)
endforeach()
string(REPLACE ";" "," _icon_sizes "${CELVANE_ICON_SIZES}")
add_custom_command(OUTPUT ${_icons}
  COMMAND ${CELVANE_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/make_icon.py --output ${_icon_dir} --sizes ${_icon_sizes}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${CMAKE_SOURCE_DIR}/tools/make_bitmaps.py
  COMMENT "Drawing the program icon"
  VERBATIM)
add_custom_target(celvane_icons ALL DEPENDS ${_icons})

# --- relative links, made in the build tree and installed as links -------------
function(_celvane_relative_link out_var from_dir to_dir)
  foreach(d from_dir to_dir)
    if(IS_ABSOLUTE "${${d}}")
      set(${d}_full "${${d}}")
    else()
      set(${d}_full "${CMAKE_INSTALL_PREFIX}/${${d}}")
    endif()
  endforeach()
  file(RELATIVE_PATH rel "${from_dir_full}" "${to_dir_full}")
  set(${out_var} "${rel}" PARENT_SCOPE)
endfunction()

_celvane_relative_link(_program_to_data ${CELVANE_INSTALL_PROGRAM_DIR} ${CELVANE_INSTALL_DATA_DIR})
_celvane_relative_link(_bin_to_program ${CMAKE_INSTALL_BINDIR} ${CELVANE_INSTALL_PROGRAM_DIR})

set(_links ${CMAKE_BINARY_DIR}/install-links)
file(REMOVE_RECURSE ${_links})
file(MAKE_DIRECTORY ${_links}/program ${_links}/bin)

file(GLOB _help_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/help/*.htm)
file(GLOB _object_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/data/*.puo
                                          ${CMAKE_SOURCE_DIR}/resources/data/*.pco)
file(GLOB _star_resources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/catalog/*)
set(_program_links)
foreach(f ${_help_files} ${_object_files} stars.dat resources)
  get_filename_component(name ${f} NAME)
  file(CREATE_LINK ${_program_to_data}/${name} ${_links}/program/${name} SYMBOLIC)
  list(APPEND _program_links ${_links}/program/${name})
endforeach()
file(CREATE_LINK ${_bin_to_program}/celvane-launch ${_links}/bin/celvane SYMBOLIC)
file(CREATE_LINK ${_bin_to_program}/celvane-launch ${_links}/bin/celvane-chart SYMBOLIC)
file(CREATE_LINK ${_bin_to_program}/celvane-ephem ${_links}/bin/celvane-ephem SYMBOLIC)

# What `cmake --install` needs built, without the tests and benchmarks.
add_custom_target(celvane_programs)
add_dependencies(celvane_programs celvane celvane-chart celvane-ephem celvane-mpc celvane_icons celvane_program_files)

# --- what goes where ----------------------------------------------------------
install(PROGRAMS $<TARGET_FILE:celvane>.so $<TARGET_FILE:celvane-chart>.so
        DESTINATION ${CELVANE_INSTALL_PROGRAM_DIR})
install(TARGETS celvane-ephem RUNTIME DESTINATION ${CELVANE_INSTALL_PROGRAM_DIR})
install(TARGETS celvane-mpc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/celvane-launch.sh
        DESTINATION ${CELVANE_INSTALL_PROGRAM_DIR} RENAME celvane-launch)
install(FILES ${_program_links} DESTINATION ${CELVANE_INSTALL_PROGRAM_DIR})
install(FILES ${_links}/bin/celvane ${_links}/bin/celvane-chart ${_links}/bin/celvane-ephem
        DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CELVANE_STARS_DAT} ${_help_files} ${_object_files} DESTINATION ${CELVANE_INSTALL_DATA_DIR})
install(FILES ${_star_resources} DESTINATION ${CELVANE_INSTALL_DATA_DIR}/resources)

install(FILES ${CMAKE_SOURCE_DIR}/resources/celvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${_icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The catalogues' provenance and licences, each under its folder's name.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
file(GLOB _catalog_readmes CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/catalogs/*/README.md)
foreach(f ${_catalog_readmes})
  get_filename_component(dir ${f} DIRECTORY)
  get_filename_component(name ${dir} NAME)
  install(FILES ${f} DESTINATION ${CMAKE_INSTALL_DOCDIR}/catalogs/${name})
endforeach()
file(GLOB _licences CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE* ${CMAKE_SOURCE_DIR}/COPYING*)
if(_licences)
  install(FILES ${_licences} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
