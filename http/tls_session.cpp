#include "http/tls_session.h"

namespace pelmorix {

std::string CertificateProblemText(TIdCertificateProblem problem, const std::string& detail) {
  const char* reason = "";
  switch (problem) {
    case TIdCertificateProblem::Untrusted:
      reason = "untrusted certificate authority";
      break;
    case TIdCertificateProblem::Expired:
      reason = "certificate expired";
      break;
    case TIdCertificateProblem::NotYetValid:
      reason = "certificate not yet valid";
      break;
    case TIdCertificateProblem::NameMismatch:
      reason = "name mismatch";
      break;
    case TIdCertificateProblem::Revoked:
      reason = "certificate revoked";
      break;
    case TIdCertificateProblem::Other:
      reason = detail.c_str();
      break;
  }
  return std::string("SSL certificate verify failed: ") + reason;
}

}  // namespace pelmorix
