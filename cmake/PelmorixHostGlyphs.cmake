# The button strip tool of a cross build, made for the build machine: tools/glyphs as a project
# of its own, with the build machine's compiler and pkg-config (never the cross build's search
# path), in host-glyphs/ of the build. The launcher's build runs it from there.
include(ExternalProject)
ExternalProject_Add(pelmorix_host_glyphs
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/glyphs
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-glyphs
  CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env --unset=PKG_CONFIG_LIBDIR --unset=PKG_CONFIG_PATH
                    ${CMAKE_COMMAND} -S <SOURCE_DIR> -B <BINARY_DIR> -G ${CMAKE_GENERATOR}
                    -DCMAKE_C_COMPILER=cc -DCMAKE_CXX_COMPILER=c++ -DCMAKE_BUILD_TYPE=Release
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR>
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-glyphs/pelmorix-glyphs)
