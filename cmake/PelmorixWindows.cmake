# The pieces of the Windows build that the Linux build does not have.
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  message(FATAL_ERROR "The Windows build is 64-bit only")
endif()

# Everything the tests start runs under wine, in the build folder's own prefix.
if(CMAKE_CROSSCOMPILING)
  set(PELMORIX_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${PELMORIX_WINEPREFIX})
endif()

if(PELMORIX_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "Win32 threads in GoogleTest" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Gives a Windows program its resource script and an application manifest made from
# cmake/program.manifest.in with the rights LEVEL (asInvoker or requireAdministrator). The
# script takes the manifest as "program.manifest" from the program's own folder of the build.
function(pelmorix_windows_resources target script level)
  set(PELMORIX_EXECUTION_LEVEL ${level})
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/program.manifest.in ${folder}/program.manifest @ONLY)
  target_sources(${target} PRIVATE ${script})
  target_include_directories(${target} PRIVATE ${folder})
  # The resource compiler reports no dependencies of its own.
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${folder}/program.manifest)
endfunction()
