# Adds DIR when it has a CMakeLists.txt, and every direct subfolder of DIR that has one.
# Folders appear as their first file arrives, so no list of folders has to be kept by hand.
function(pelmorix_add_subdirectories dir)
  set(full ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
  if(EXISTS ${full}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt.
function(pelmorix_add_child_directories)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# The .cpp files of the current folder that belong to this system: a file named *_win32.cpp
# holds the Windows side of a piece, *_posix.cpp its POSIX side, and the build takes one.
function(pelmorix_folder_sources out)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# A static library of every .cpp file in the current folder (of this system's ones).
function(pelmorix_add_folder_library name)
  pelmorix_folder_sources(sources)
  if(NOT sources)
    return()  # a folder whose first source file has not arrived yet
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} ${ARGN})
endfunction()

# The build's folders as the test programs see them: under wine the Unix root is drive Z:, and
# a path without a drive would be taken on whatever drive the current folder is on.
if(WIN32 AND CMAKE_CROSSCOMPILING)
  set(PELMORIX_PROGRAM_BIN_DIR "Z:${CMAKE_BINARY_DIR}/bin")
  set(PELMORIX_PROGRAM_SOURCE_DIR "Z:${CMAKE_SOURCE_DIR}")
  # Listing a test program's cases starts wine, so it waits for the test run (and its
  # wineserver) instead of slowing every build.
  set(PELMORIX_DISCOVERY_MODE PRE_TEST)
else()
  set(PELMORIX_PROGRAM_BIN_DIR "${CMAKE_BINARY_DIR}/bin")
  set(PELMORIX_PROGRAM_SOURCE_DIR "${CMAKE_SOURCE_DIR}")
  set(PELMORIX_DISCOVERY_MODE POST_BUILD)
endif()

# Every test executable the helpers below make, so a build can ask for the tests alone.
add_custom_target(pelmorix_tests)

# A GoogleTest executable of the SOURCES, linked with the LIBRARIES, registered with CTest.
# Each test case becomes its own CTest entry, so one hanging case is named in the report;
# PROPERTIES are further CTest properties of every case (name value ...).
function(pelmorix_add_tests name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES;PROPERTIES")
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} ${arg_LIBRARIES} GTest::gtest GTest::gtest_main GTest::gmock
                        Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE PELMORIX_BIN_DIR="${PELMORIX_PROGRAM_BIN_DIR}"
                                             PELMORIX_SOURCE_DIR="${PELMORIX_PROGRAM_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE ${PELMORIX_DISCOVERY_MODE}
                       PROPERTIES TIMEOUT 300 ${arg_PROPERTIES})
  add_dependencies(pelmorix_tests ${name})
endfunction()

# Registers every case of a test executable of the real window with CTest, each run on an X
# server of its own (tests/support/with_x_server.sh), so a hanging case is named in the report.
# The cases run one at a time: they click, type and read pixels, which a busy processor delays.
function(pelmorix_add_window_tests name timeout)
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
                                           ${CMAKE_SOURCE_DIR}/tests/support/with_x_server.sh)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${timeout} RESOURCE_LOCK xvfb
                       LABELS window ENVIRONMENT "PELMORIX_BROWSER_LOOPBACK_ONLY=1;NO_AT_BRIDGE=1")
endfunction()

# A GoogleTest executable of every .cpp file in the current folder, registered with CTest.
function(pelmorix_add_folder_tests name)
  pelmorix_folder_sources(sources)
  if(NOT sources)
    return()
  endif()
  pelmorix_add_tests(${name} SOURCES ${sources} LIBRARIES ${ARGN})
endfunction()

# The socket library and other run-time loaded libraries sit in build/bin; programs and tests
# built anywhere in the tree find them there by name.
set(CMAKE_BUILD_RPATH ${CMAKE_BINARY_DIR}/bin)
