# Run with cmake -P at build time, for a launcher that trusts a key made by the build (the demo's,
# a test's): writes OUTPUT, the BuiltInPatchKeys() source, from the public key file KEY.
# SOURCE_DIR: the source folder.
set(PROJECT_SOURCE_DIR ${SOURCE_DIR})
include(${SOURCE_DIR}/cmake/PelmorixPatchKeys.cmake)
pelmorix_patch_keys_source(${OUTPUT} BuiltInPatchKeys ${KEY})
