#include "http/authentication.h"

#include "http/encoder_mime.h"

namespace pelmorix {

void TIdAuthentication::SetPassword(const std::string& password) { password_ = password; }

void TIdAuthentication::SetUsername(const std::string& username) { username_ = username; }

void TIdAuthentication::Reset() { authRetries_ = 0; }

TIdAuthWhatsNext TIdBasicAuthentication::Next() {
  if (currentStep_ != 0) return TIdAuthWhatsNext::wnFail;
  ++authRetries_;
  return Username().empty() ? TIdAuthWhatsNext::wnAskTheProgram : TIdAuthWhatsNext::wnDoRequest;
}

void TIdBasicAuthentication::Reset() {
  TIdAuthentication::Reset();
  currentStep_ = 0;
}

std::string TIdBasicAuthentication::Authentication() {
  return "Basic " + TIdEncoderMIME::Encode(Username() + ":" + Password());
}

}  // namespace pelmorix
