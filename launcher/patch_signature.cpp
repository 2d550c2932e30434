#include "launcher/patch_signature.h"

#include <algorithm>

#include "base/convert.h"
#include "launcher/patch_list.h"
#include "platform/signature/signature_check.h"

namespace pelmorix {
namespace {

std::string WithSuffix(const std::string& url, const std::string& suffix) {
  std::string result = url;
  result.insert(std::min(url.find('?'), url.size()), suffix);
  return result;
}

}  // namespace

std::string PatchDigestsUrl(const std::string& listUrl) { return WithSuffix(listUrl, ".sha256"); }

std::string PatchSignatureUrl(const std::string& listUrl) { return WithSuffix(listUrl, ".sig"); }

std::string PatchSignedMessage(const std::string& installationId, const std::string& patchType,
                               const std::string& listText, const std::string& digestsText) {
  if (patchType.find_first_of("\r\n") != std::string::npos ||
      installationId.find_first_of("\r\n") != std::string::npos) {
    ThrowInvalidPatchSignature();
  }
  return "Pelmorix patch 1\nid " + installationId + "\ntype " + patchType + "\nlist " +
         IntToStr(static_cast<int64_t>(listText.size())) + "\n" + listText + digestsText;
}

TPatchSignature::TPatchSignature(std::vector<std::string> trustedKeys)
    : trustedKeys_(std::move(trustedKeys)) {}

TPatchDigests TPatchSignature::Verify(const std::string& installationId,
                                      const std::string& patchType, const std::string& listText,
                                      const std::string& digestsText,
                                      const std::string& signature) const {
  const std::string message = PatchSignedMessage(installationId, patchType, listText, digestsText);
  bool signedByTrustedKey = false;
  for (const std::string& key : trustedKeys_) {
    signedByTrustedKey = signedByTrustedKey || VerifyP256Signature(key, message, signature);
  }
  if (!signedByTrustedKey) ThrowInvalidPatchSignature();
  TPatchDigests digests = ParsePatchDigests(digestsText);
  for (const PatchFile& file : ParsePatchList(listText).Files) {
    if (digests.count(PatchFileName(file)) == 0) ThrowInvalidPatchSignature();
  }
  return digests;
}

}  // namespace pelmorix
