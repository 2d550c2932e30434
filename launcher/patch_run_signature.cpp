#include "launcher/patch_run_signature.h"

#include <exception>

#include "platform/files/files.h"

namespace pelmorix {
namespace {

std::string FetchSigned(TIdHTTP& http, const std::string& url) {
  try {
    return http.Get(url);
  } catch (const std::exception&) {
    ThrowInvalidPatchSignature();
  }
}

}  // namespace

void TPatchRunSignature::CheckList(TIdHTTP& http, const std::string& installationId,
                                   const std::string& patchType, const std::string& listUrl,
                                   const std::string& listText) {
  if (!signature_.Enabled()) return;
  const std::string digests = FetchSigned(http, PatchDigestsUrl(listUrl));
  const std::string signature = FetchSigned(http, PatchSignatureUrl(listUrl));
  digests_ = signature_.Verify(installationId, patchType, listText, digests, signature);
}

void TPatchRunSignature::CheckDownloads(const PatchList& list) const {
  if (!signature_.Enabled()) return;
  for (const PatchFile& file : list.Files) {
    try {
      CheckPatchFile(digests_, PatchFileName(file), file.DownloadPath);
    } catch (...) {
      DeleteFile(file.DownloadPath);
      throw;
    }
  }
}

}  // namespace pelmorix
