# Every subsystem folder holds its Qt-Core-only rules at the top (library kkt_<name>)
# and its widgets under ui/ (library kkt_<name>_ui). Files named main.cpp belong to programs.
# Code for one operating system sits in posix/ or win/ and is named, file by file, in the POSIX or
# WINDOWS list: nothing there is compiled for the other system by accident. POSIX_LIBS and
# WINDOWS_LIBS are what that code links with.
function(kkt_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS;UI_DEPS;LIBS;POSIX;WINDOWS;POSIX_LIBS;WINDOWS_LIBS" ${ARGN})
  file(GLOB core_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER core_src EXCLUDE REGEX "/main\\.cpp$")
  if(WIN32)
    list(TRANSFORM ARG_WINDOWS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    list(APPEND core_src ${ARG_WINDOWS})
    list(APPEND ARG_LIBS ${ARG_WINDOWS_LIBS})
  else()
    list(TRANSFORM ARG_POSIX PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    list(APPEND core_src ${ARG_POSIX})
    list(APPEND ARG_LIBS ${ARG_POSIX_LIBS})
  endif()
  if(core_src MATCHES "\\.cpp")
    add_library(kkt_${name} STATIC ${core_src})
    target_include_directories(kkt_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kkt_${name} PUBLIC Qt6::Core ${ARG_DEPS} ${ARG_LIBS})
  else()
    add_library(kkt_${name} INTERFACE)
    target_include_directories(kkt_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kkt_${name} INTERFACE Qt6::Core ${ARG_DEPS} ${ARG_LIBS})
  endif()

  file(GLOB ui_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h
                                     ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.qrc)
  list(FILTER ui_src EXCLUDE REGEX "/main\\.cpp$")
  if(ui_src MATCHES "\\.cpp")
    add_library(kkt_${name}_ui STATIC ${ui_src})
    target_link_libraries(kkt_${name}_ui PUBLIC kkt_${name} Qt6::Widgets ${ARG_UI_DEPS})
  else()
    add_library(kkt_${name}_ui INTERFACE)
    target_link_libraries(kkt_${name}_ui INTERFACE kkt_${name} Qt6::Widgets ${ARG_UI_DEPS})
  endif()
endfunction()

# One test program per folder under tests/, registered test by test with CTest.
# GUI folders (name ending in _ui) get a QApplication main, the others a QCoreApplication one.
function(kkt_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(name MATCHES "_ui$")
    set(test_main kkt_testmain_gui)
  else()
    set(test_main kkt_testmain_core)
  endif()
  file(GLOB test_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT test_src)
    return()
  endif()
  add_executable(test_${name} ${test_src})
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE ${test_main} kkt_testsupport ${ARG_LIBS} GTest::gtest Qt6::Test)
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KKT_BUILD_DIR=${CMAKE_BINARY_DIR}"
               TIMEOUT 300)
endfunction()
