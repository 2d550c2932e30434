#pragma once

#include <string>
#include <vector>

#include "launcher/patch_digests.h"

namespace pelmorix {

// A signed patch is served as three files: the patch list, its digests file (the list's address
// with ".sha256" added) and the signature (with ".sig" added). In an address with a query the
// suffix goes before the "?", so a static web server can serve all three.
std::string PatchDigestsUrl(const std::string& listUrl);
std::string PatchSignatureUrl(const std::string& listUrl);

// What the vendor signs (ECDSA P-256 over SHA-256), so that a list, its files or its type
// cannot be moved to another installation:
//   "Pelmorix patch 1\n" "id " id "\n" "type " type "\n" "list " <byte count of list> "\n"
//   followed by the list's bytes and the digests file's bytes.
// A type holding a line break cannot be put in it and raises the signature message.
std::string PatchSignedMessage(const std::string& installationId, const std::string& patchType,
                               const std::string& listText, const std::string& digestsText);

// The patch check of a launcher: the P-256 public keys (PEM texts) it trusts. With none
// (Enabled() false) the run installs patches unchecked and does not call Verify, which would
// refuse every patch.
class TPatchSignature {
 public:
  explicit TPatchSignature(std::vector<std::string> trustedKeys);

  bool Enabled() const { return !trustedKeys_.empty(); }

  // Checks that one trusted key signed this installation id, patch type, list and digests
  // file, and that the digests name every file of the list; gives the digests for
  // CheckPatchFile. Any failure, an empty signature included, raises "Die Signatur des Updates
  // ist ungültig"; a list the run could not read raises as ParsePatchList does.
  TPatchDigests Verify(const std::string& installationId, const std::string& patchType,
                       const std::string& listText, const std::string& digestsText,
                       const std::string& signature) const;

 private:
  std::vector<std::string> trustedKeys_;
};

}  // namespace pelmorix
