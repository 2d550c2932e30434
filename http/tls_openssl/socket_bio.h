#pragma once

#include <openssl/bio.h>

#include "http/id_stack.h"

namespace pelmorix {

// An OpenSSL BIO over one socket of the socket stack, so the session's reads and writes go
// through the same calls (and the same error numbers) as the plain transport's. A call that
// would block leaves the BIO's retry flag set.
class TSocketBioMethod {
 public:
  TSocketBioMethod();
  ~TSocketBioMethod();
  TSocketBioMethod(const TSocketBioMethod&) = delete;
  TSocketBioMethod& operator=(const TSocketBioMethod&) = delete;

  // The BIO does not own the socket; stack and socket must outlive it.
  BIO* NewBio(TIdStack& stack, SOCKET socket) const;

 private:
  BIO_METHOD* method_ = nullptr;
};

}  // namespace pelmorix
