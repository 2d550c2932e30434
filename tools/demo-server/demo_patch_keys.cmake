# Run with cmake -P at build time: the demo launcher's built-in keys from the demo key made then.
set(PROJECT_SOURCE_DIR ${SOURCE_DIR})
include(${SOURCE_DIR}/cmake/PelmorixPatchKeys.cmake)
pelmorix_patch_keys_source(${OUTPUT} BuiltInPatchKeys ${KEY})
