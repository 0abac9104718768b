# Winelib: the Win32 half of Celvane built on Linux with wineg++ and wrc, and
# its test programs run under wine64.
#
# The project's C++ compiler stays the native g++ (the portable core and its
# tests are built with it). A Winelib target is an ordinary CMake target whose
# compiler and linker are swapped for wineg++ by a launcher script; the native
# static libraries (built with -fPIC) link straight into the Winelib module,
# which is an ELF shared object.
#
# Sets CELVANE_WINELIB_FOUND and provides
#   celvane_add_winelib_executable(<name> GUI|CONSOLE SOURCES ... [RC <file.rc>]
#                                  [RC_DEPENDS ...] [LIBS ...])
#   celvane_add_winelib_library(<name> SOURCES ... [LIBS ...])      (static)
#   celvane_add_wine_prefix(<fixture> <prefix-dir> null|x11)
#   celvane_add_wine_test(<test> PREFIX <fixture> TARGET <exe> [ARGS ...]
#                         [ENVIRONMENT ...] [LABELS ...])
# and the build-tree locales in CELVANE_LOCALE_DIR (target celvane_locales).

set(_celvane_wine_hints /usr/lib/wine /usr/lib64/wine /usr/lib/x86_64-linux-gnu/wine /opt/wine-stable/bin)
find_program(CELVANE_WINEGXX NAMES wineg++ HINTS ${_celvane_wine_hints})
find_program(CELVANE_WINEGCC NAMES winegcc HINTS ${_celvane_wine_hints})
find_program(CELVANE_WRC NAMES wrc HINTS ${_celvane_wine_hints})
find_program(CELVANE_WINE64 NAMES wine64 wine HINTS ${_celvane_wine_hints})
find_program(CELVANE_WINESERVER NAMES wineserver HINTS ${_celvane_wine_hints})
find_program(CELVANE_LOCALEDEF NAMES localedef)

set(CELVANE_WINELIB_FOUND FALSE)
if(CELVANE_WINEGXX AND CELVANE_WINEGCC AND CELVANE_WRC AND CELVANE_WINE64 AND CELVANE_WINESERVER)
  set(CELVANE_WINELIB_FOUND TRUE)
  message(STATUS "Winelib: ${CELVANE_WINEGXX}, ${CELVANE_WRC}, runner ${CELVANE_WINE64}")
else()
  message(WARNING "Winelib tools not found (wineg++, winegcc, wrc, wine64, wineserver; packages wine64, "
                  "wine64-tools, libwine-dev): the Win32 half and the wine tests are left out. "
                  "Run scripts/install-deps.sh or configure with -DCELVANE_WINE=OFF.")
  return()
endif()

set(CELVANE_WINELIB_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/winelib-launcher.sh)
set(CELVANE_WINE_PREFIX_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/wine-prefix.sh)
set(CELVANE_WINE_RUN_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)

# Makes a target a Winelib one: compiled and linked by wineg++/winegcc.
function(_celvane_winelib_target name)
  set_target_properties(${name} PROPERTIES
    CXX_COMPILER_LAUNCHER "${CELVANE_WINELIB_LAUNCHER};${CELVANE_WINEGXX}"
    CXX_LINKER_LAUNCHER "${CELVANE_WINELIB_LAUNCHER};${CELVANE_WINEGXX}"
    C_COMPILER_LAUNCHER "${CELVANE_WINELIB_LAUNCHER};${CELVANE_WINEGCC}"
    C_LINKER_LAUNCHER "${CELVANE_WINELIB_LAUNCHER};${CELVANE_WINEGCC}"
    # CMake's -fPIE for executables would override winegcc's -fPIC.
    POSITION_INDEPENDENT_CODE OFF)
  target_compile_options(${name} PRIVATE -municode)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# wrc for one .rc file; the .res joins the target as an object (winegcc
# hands it to winebuild). wrc writes no dependency file: list the files the
# .rc includes in RC_DEPENDS.
function(_celvane_winelib_resources name rc deps)
  get_filename_component(rc_abs ${rc} ABSOLUTE)
  get_filename_component(rc_dir ${rc_abs} DIRECTORY)
  get_filename_component(rc_we ${rc_abs} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${name}_${rc_we}.res)
  add_custom_command(OUTPUT ${res}
    COMMAND ${CELVANE_WRC} -I${rc_dir} -I${CMAKE_CURRENT_BINARY_DIR} -I${CMAKE_SOURCE_DIR} -o ${res} ${rc_abs}
    DEPENDS ${rc_abs} ${deps}
    COMMENT "Compiling resources ${rc_we}.rc"
    VERBATIM)
  set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${name} PRIVATE ${res})
endfunction()

function(celvane_add_winelib_executable name kind)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "RC" "SOURCES;RC_DEPENDS;LIBS")
  if(kind STREQUAL "GUI")
    set(subsystem -mwindows)
  elseif(kind STREQUAL "CONSOLE")
    set(subsystem -mconsole)
  else()
    message(FATAL_ERROR "celvane_add_winelib_executable(${name}): GUI or CONSOLE expected, got '${kind}'")
  endif()
  add_executable(${name} ${arg_SOURCES})
  _celvane_winelib_target(${name})
  # The build writes name.exe (a starter script) and name.exe.so (the module).
  set_target_properties(${name} PROPERTIES SUFFIX .exe)
  # Entry points are wmain / wWinMain (declared extern "C").
  target_link_options(${name} PRIVATE ${subsystem} -municode)
  if(arg_RC)
    _celvane_winelib_resources(${name} ${arg_RC} "${arg_RC_DEPENDS}")
  endif()
  if(arg_LIBS)
    target_link_libraries(${name} PRIVATE ${arg_LIBS})
  endif()
endfunction()

function(celvane_add_winelib_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBS")
  add_library(${name} STATIC ${arg_SOURCES})
  _celvane_winelib_target(${name})
  if(arg_LIBS)
    target_link_libraries(${name} PUBLIC ${arg_LIBS})
  endif()
endfunction()

# ---------------------------------------------------------------------------
# Running Winelib programs in CTest.
#
# A Wine prefix lives in the build tree, one per display driver ("null" runs
# windows and messages without an X server; "x11" is for xvfb screenshots —
# never share one wineserver between the two). The setup fixture creates the
# prefix once (about 5 s; later runs find it ready), the cleanup fixture stops
# its wineserver so nothing outlives the test run.
function(celvane_add_wine_prefix fixture prefix driver)
  add_test(NAME ${fixture}_setup
    COMMAND sh ${CELVANE_WINE_PREFIX_SCRIPT} create ${prefix} ${driver} ${CELVANE_WINE64} ${CELVANE_WINESERVER})
  add_test(NAME ${fixture}_stop
    COMMAND sh ${CELVANE_WINE_PREFIX_SCRIPT} stop ${prefix} ${driver} ${CELVANE_WINE64} ${CELVANE_WINESERVER})
  set_tests_properties(${fixture}_setup PROPERTIES FIXTURES_SETUP ${fixture} LABELS wine
    RESOURCE_LOCK ${fixture} TIMEOUT 300)
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture} LABELS wine
    RESOURCE_LOCK ${fixture} TIMEOUT 60)
  set_property(GLOBAL PROPERTY CELVANE_WINE_PREFIX_${fixture} ${prefix})
endfunction()

# A Winelib program run in a prefix. Its output goes to <test>.log first and is
# shown afterwards: wine's lingering wineserver would otherwise hold CTest's
# pipes open. Tests of one prefix take turns (RESOURCE_LOCK): Wine keeps the
# user's locale settings in the prefix's registry and rewrites them when a
# program starts with another language.
function(celvane_add_wine_test test)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PREFIX;TARGET" "ARGS;ENVIRONMENT;LABELS")
  get_property(prefix GLOBAL PROPERTY CELVANE_WINE_PREFIX_${arg_PREFIX})
  if(NOT prefix)
    message(FATAL_ERROR "celvane_add_wine_test(${test}): unknown prefix fixture '${arg_PREFIX}'")
  endif()
  add_test(NAME ${test}
    COMMAND sh ${CELVANE_WINE_RUN_SCRIPT} ${prefix} ${CELVANE_WINE64}
            ${CMAKE_CURRENT_BINARY_DIR}/${test}.log $<TARGET_FILE:${arg_TARGET}>.so ${arg_ARGS}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${test} PROPERTIES
    FIXTURES_REQUIRED ${arg_PREFIX}
    RESOURCE_LOCK ${arg_PREFIX}
    LABELS "wine;${arg_LABELS}"
    TIMEOUT 120)
  if(arg_ENVIRONMENT)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
endfunction()

# ---------------------------------------------------------------------------
# Locales for the language runs, generated into the build tree so that no
# system locale has to be installed (run with LOCPATH=${CELVANE_LOCALE_DIR}).
set(CELVANE_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
set(_celvane_locale_outputs)
if(CELVANE_LOCALEDEF)
  foreach(loc de_DE en_US)
    set(out ${CELVANE_LOCALE_DIR}/${loc}.UTF-8)
    # localedef exits with 1 for mere warnings; the written LC_TIME is what counts.
    add_custom_command(OUTPUT ${out}/LC_TIME
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CELVANE_LOCALE_DIR}
      COMMAND sh -c "'${CELVANE_LOCALEDEF}' -i ${loc} -f UTF-8 '${out}' || test -s '${out}/LC_TIME'"
      COMMENT "Generating locale ${loc}.UTF-8"
      VERBATIM)
    list(APPEND _celvane_locale_outputs ${out}/LC_TIME)
  endforeach()
else()
  message(WARNING "localedef not found (package locales): the German and English wine runs will fail")
endif()
add_custom_target(celvane_locales ALL DEPENDS ${_celvane_locale_outputs})
