#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// The public keys (PEM texts) of the patch signatures this launcher trusts, from the build
// setting PELMORIX_PATCH_KEY; empty when the build names none.
const std::vector<std::string>& BuiltInPatchKeys();

}  // namespace pelmorix
