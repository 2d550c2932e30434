#pragma once

#include <string>

#include "http/id_http.h"
#include "launcher/patch_digests.h"
#include "launcher/patch_list.h"
#include "launcher/patch_signature.h"

namespace pelmorix {

// The signature check of one patch run. A launcher that trusts no key asks for nothing more
// than the list and lets every download pass.
class TPatchRunSignature {
 public:
  explicit TPatchRunSignature(const TPatchSignature& signature) : signature_(signature) {}

  // Fetches the digests and the signature beside the list's address and checks them against
  // the list as received, before anything is downloaded. A file that cannot be fetched counts
  // as a bad signature: a server that drops it must not turn the check off.
  void CheckList(TIdHTTP& http, const std::string& installationId, const std::string& patchType,
                 const std::string& listUrl, const std::string& listText);

  // Compares every download with its signed digest before the first one is installed or run; a
  // download that differs is removed from "temp" and ends the run.
  void CheckDownloads(const PatchList& list) const;

 private:
  const TPatchSignature& signature_;
  TPatchDigests digests_;
};

}  // namespace pelmorix
