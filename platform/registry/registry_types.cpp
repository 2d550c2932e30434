#include "platform/registry/registry_types.h"

#include "base/text.h"

namespace pelmorix {

std::string RootKeyName(HKEY root) {
  if (root == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
  if (root == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
  return "";
}

HKEY RootKeyOfName(const std::string& name) {
  if (SameText(name, "HKEY_LOCAL_MACHINE")) return HKEY_LOCAL_MACHINE;
  if (SameText(name, "HKEY_CURRENT_USER")) return HKEY_CURRENT_USER;
  return 0;
}

}  // namespace pelmorix
