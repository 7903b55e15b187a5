# The Windows build (MinGW-w64 against the kit of ../shared/toolchains/win64): the kit's static
# minizip, zlib and libxlsxwriter, Win32 Unicode functions, and a version resource in every program.
enable_language(RC)
find_package(ZLIB REQUIRED)
find_library(KKT_MINIZIP_LIBRARY minizip REQUIRED)
find_path(KKT_MINIZIP_INCLUDE unzip.h PATH_SUFFIXES minizip REQUIRED)
find_library(KKT_XLSXWRITER_LIBRARY xlsxwriter REQUIRED)
find_path(KKT_XLSXWRITER_INCLUDE xlsxwriter.h REQUIRED)

add_library(KKT::Minizip INTERFACE IMPORTED)
target_include_directories(KKT::Minizip INTERFACE ${KKT_MINIZIP_INCLUDE})
target_link_libraries(KKT::Minizip INTERFACE ${KKT_MINIZIP_LIBRARY} ZLIB::ZLIB)
add_library(KKT::Xlsxwriter INTERFACE IMPORTED)
target_include_directories(KKT::Xlsxwriter INTERFACE ${KKT_XLSXWRITER_INCLUDE})
target_link_libraries(KKT::Xlsxwriter INTERFACE ${KKT_XLSXWRITER_LIBRARY} KKT::Minizip)

# Wide-character Win32 functions; no min/max macros in the way of std::min.
add_compile_definitions(UNICODE _UNICODE NOMINMAX)
# The C and C++ runtimes of MinGW link statically: nothing beyond Qt's own DLLs has to travel.
add_link_options(-static-libgcc -static-libstdc++)

string(REPLACE "." "," KKT_VERSION_COMMAS "${PROJECT_VERSION}.0")

# A version resource (product, file version, description) in program `target`, which the version
# functions read back; `GUI` also gives it the program's icon and no console window.
function(kkt_windows_program target description)
  cmake_parse_arguments(ARG "GUI" "" "" ${ARGN})
  set(KKT_RC_DESCRIPTION "${description}")
  set(KKT_RC_FILENAME "${target}.exe")
  if(ARG_GUI)
    set(KKT_RC_ICON "1 ICON \"${PROJECT_SOURCE_DIR}/packaging/kkt-config.ico\"")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  else()
    set(KKT_RC_ICON "")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()

# Tests and benchmarks run under Wine (scripts/run-windows-tests.sh): the build's own prefix, the
# kit's Qt and MinGW's runtime found through WINEPATH. CTest starts every Windows program through it.
get_filename_component(KKT_QT_BIN "${Qt6_DIR}/../../../bin" ABSOLUTE)
file(GLOB KKT_MINGW_RUNTIME /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(APPEND KKT_MINGW_RUNTIME /usr/x86_64-w64-mingw32/lib)
set(KKT_WINE_DLL_DIRS ${KKT_QT_BIN} ${KKT_MINGW_RUNTIME})
list(JOIN KKT_WINE_DLL_DIRS " " KKT_WINE_DLL_DIRS)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
