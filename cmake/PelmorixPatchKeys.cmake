# Writes OUTPUT, a C++ source whose function FUNCTION_NAME() gives the PEM texts of the public
# keys in the files named after it (relative names below the source folder), so a launcher
# carries the keys it was built to trust. Anything but a P-256 public key - a private key named
# by mistake above all - stops the configuration.
function(pelmorix_patch_keys_source output function_name)
  set(PELMORIX_KEY_ENTRIES "")
  foreach(key_file ${ARGN})
    get_filename_component(key_file ${key_file} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    file(READ ${key_file} pem)
    # The fixed start of every P-256 SubjectPublicKeyInfo, in base64.
    if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----\r?\nMFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE")
      message(FATAL_ERROR "${key_file} is no P-256 public key in PEM form "
                          "(pelmorix-publish keygen writes one)")
    endif()
    string(APPEND PELMORIX_KEY_ENTRIES "      R\"pem(${pem})pem\",\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${key_file})
  endforeach()
  set(PELMORIX_KEY_FUNCTION ${function_name})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/patch_keys.cpp.in ${output} @ONLY)
endfunction()
