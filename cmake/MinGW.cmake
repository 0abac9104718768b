# The Windows programs: celvane.exe, celvane-chart.exe and celvane-ephem.exe
# (and the interface gallery) cross-compiled with MinGW-w64 by the project in
# win/, as a build of its own in <build>/mingw, made with every build once the
# native stars.dat exists. Its smoke test (label "mingw") starts the Windows
# celvane.exe under wine64; the zip celvane-0.1-win64.zip is made from it by
# the target celvane-win-zip, and only after that test passed.
#
# Sets CELVANE_MINGW_DIR (empty when the cross compiler is missing).
option(CELVANE_MINGW "Cross-build the Windows programs with MinGW-w64" ON)
set(CELVANE_MINGW_DIR "")
if(NOT CELVANE_MINGW)
  return()
endif()
find_program(CELVANE_MINGW_CXX NAMES x86_64-w64-mingw32-g++-win32 x86_64-w64-mingw32-g++)
find_program(CELVANE_MINGW_WINDRES NAMES x86_64-w64-mingw32-windres)
if(NOT CELVANE_MINGW_CXX OR NOT CELVANE_MINGW_WINDRES)
  message(WARNING "MinGW-w64 not found (packages g++-mingw-w64-x86-64, binutils-mingw-w64-x86-64): "
                  "no Windows programs. Run scripts/install-deps.sh or configure with -DCELVANE_MINGW=OFF.")
  return()
endif()

include(ExternalProject)
set(CELVANE_MINGW_DIR ${CMAKE_BINARY_DIR}/mingw)
set(_mingw_args
  -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake
  -DCMAKE_BUILD_TYPE=Release
  -DCELVANE_STARS_DAT=${CELVANE_STARS_DAT})
if(CMAKE_CXX_COMPILER_LAUNCHER)
  list(APPEND _mingw_args -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(celvane_mingw
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/win
  BINARY_DIR ${CELVANE_MINGW_DIR}
  PREFIX ${CELVANE_MINGW_DIR}/external
  CMAKE_ARGS ${_mingw_args}
  BUILD_ALWAYS TRUE
  INSTALL_COMMAND ""
  DEPENDS celvane_stars_dat)

# The zip, from the programs that passed the smoke test.
set(CELVANE_WIN_ZIP ${CMAKE_BINARY_DIR}/celvane-${PROJECT_VERSION}-win64.zip)
add_custom_target(celvane-win-zip
  COMMAND sh ${CMAKE_SOURCE_DIR}/win/make-zip.sh ${CELVANE_MINGW_DIR} ${CELVANE_WIN_ZIP}
          celvane-${PROJECT_VERSION}-win64
  COMMENT "Packing ${CELVANE_WIN_ZIP}"
  VERBATIM)
