#include "http/tls_schannel/schannel_session.h"

#include "http/ssl_exceptions.h"
#include "http/tls_schannel/certificate_check.h"

namespace pelmorix {
namespace {

constexpr ULONG kRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                           ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                           ISC_REQ_MANUAL_CRED_VALIDATION;

// A record starts with its content type (20 to 24) and the major version 3, which every TLS
// version keeps there.
bool StartsWithTlsRecord(const std::string& bytes) {
  const auto type = static_cast<unsigned char>(bytes[0]);
  return type >= 20 && type <= 24 && bytes[1] == 3;
}

}  // namespace

TSchannelSession::TSchannelSession(std::shared_ptr<TSchannelCredentials> credentials,
                                   TIdStack& stack, SOCKET socket, const TIdTlsPeer& peer,
                                   int lookupTimeoutMilliseconds)
    : credentials_(std::move(credentials)),
      sspi_(credentials_->Sspi()),
      stack_(stack),
      socket_(socket),
      peer_(peer),
      lookupTimeout_(lookupTimeoutMilliseconds) {}

TSchannelSession::~TSchannelSession() {
  if (hasContext_) sspi_.DeleteSecurityContext(&context_);
}

SECURITY_STATUS TSchannelSession::HandshakeStep(SecBuffer* input, ULONG inputCount) {
  SecBufferDesc inputs{SECBUFFER_VERSION, inputCount, input};
  SecBuffer output{0, SECBUFFER_TOKEN, nullptr};
  SecBufferDesc outputs{SECBUFFER_VERSION, 1, &output};
  // An address is never sent as the server's name.
  char* target = peer_.IsAddress ? nullptr : peer_.Name.data();
  ULONG granted = 0;
  const SECURITY_STATUS status = sspi_.InitializeSecurityContextA(
      credentials_->Handle(), hasContext_ ? &context_ : nullptr, target, kRequest, 0, 0,
      input != nullptr ? &inputs : nullptr, 0, &context_, &outputs, &granted, nullptr);
  if (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED || status == SEC_E_INCOMPLETE_MESSAGE ||
      status == SEC_I_INCOMPLETE_CREDENTIALS) {
    hasContext_ = true;
  }
  if (output.pvBuffer != nullptr) {
    if (pendingStart_ == pending_.size()) {
      pending_.clear();
      pendingStart_ = 0;
    }
    pending_.append(static_cast<const char*>(output.pvBuffer), output.cbBuffer);
    sspi_.FreeContextBuffer(output.pvBuffer);
  }
  return status;
}

void TSchannelSession::FailHandshake(const std::string& reason) {
  broken_ = true;
  pending_.clear();
  pendingStart_ = 0;
  throw EIdSSLConnectError("SSL handshake failed: " + reason);
}

SECURITY_STATUS TSchannelSession::HandshakeWithReceived() {
  SecBuffer input[2] = {{static_cast<ULONG>(received_.size()), SECBUFFER_TOKEN, received_.data()},
                        {0, SECBUFFER_EMPTY, nullptr}};
  const SECURITY_STATUS status = HandshakeStep(input, 2);
  // The package leaves what belongs to the next message as "extra" at the end.
  if (input[1].BufferType == SECBUFFER_EXTRA && input[1].cbBuffer > 0) {
    received_.erase(0, received_.size() - input[1].cbBuffer);
  } else if (status != SEC_E_INCOMPLETE_MESSAGE) {
    received_.clear();
  }
  return status;
}

TIdTlsWait TSchannelSession::Handshake() {
  for (;;) {
    const TSocketResult sent = SendPending();
    if (sent == TSocketResult::MustWait) return TIdTlsWait::Writable;
    if (sent != TSocketResult::Done) FailHandshake("connection closed by peer");
    if (established_) return TIdTlsWait::None;
    if (needInput_) {
      const TSocketResult received = ReceiveMore();
      if (received == TSocketResult::MustWait) return TIdTlsWait::Readable;
      if (received != TSocketResult::Done) FailHandshake("connection closed by peer");
      needInput_ = false;
    }
    if (hasContext_ && !serverSpeaksTls_) {
      // Two bytes tell a TLS record from a reply in plain text.
      if (received_.size() < 2) {
        needInput_ = true;
        continue;
      }
      if (!StartsWithTlsRecord(received_)) FailHandshake("wrong version number");
      serverSpeaksTls_ = true;
    }
    const SECURITY_STATUS status =
        hasContext_ ? HandshakeWithReceived() : HandshakeStep(nullptr, 0);
    switch (status) {
      case SEC_E_INCOMPLETE_MESSAGE:
        needInput_ = true;
        break;
      case SEC_I_CONTINUE_NEEDED:
        // Checked as soon as the package has the certificate, so a refused server gets no
        // more of the handshake.
        CheckCertificate(false);
        needInput_ = received_.empty();
        break;
      case SEC_E_OK:
        if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) !=
            SEC_E_OK) {
          FailHandshake("the session's record sizes are unknown");
        }
        CheckProtocol();
        CheckCertificate(true);
        established_ = true;
        break;
      case SEC_I_INCOMPLETE_CREDENTIALS:
        FailHandshake("the server asks for a client certificate");
      default:
        FailHandshake(SecurityStatusText(status));
    }
  }
}

void TSchannelSession::CheckProtocol() {
  // The credentials keep to TLS 1.2 and 1.3 already; this is for a system that does not.
  SecPkgContext_ConnectionInfo connection{};
  if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_CONNECTION_INFO, &connection) !=
          SEC_E_OK ||
      (connection.dwProtocol & ~kSchannelProtocols) != 0) {
    FailHandshake("unsupported protocol");
  }
}

void TSchannelSession::CheckCertificate(bool required) {
  if (certificateChecked_ || !credentials_->VerifyPeer()) return;
  PCCERT_CONTEXT certificate = nullptr;
  if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
          SEC_E_OK ||
      certificate == nullptr) {
    if (!required) return;
    broken_ = true;
    pending_.clear();
    throw EIdSSLCertificateError(
        CertificateProblemText(TIdCertificateProblem::Other, "the server sent no certificate"));
  }
  try {
    CheckServerCertificate(certificate, credentials_->Authorities(), peer_, lookupTimeout_);
  } catch (...) {
    CertFreeCertificateContext(certificate);
    broken_ = true;
    pending_.clear();
    pendingStart_ = 0;
    throw;
  }
  CertFreeCertificateContext(certificate);
  certificateChecked_ = true;
}

bool TSchannelSession::RenegotiationStep() {
  const SECURITY_STATUS status = HandshakeWithReceived();
  switch (status) {
    case SEC_E_OK:
      renegotiating_ = false;
      AfterRenegotiation();
      return false;
    case SEC_I_CONTINUE_NEEDED:
      renegotiationHandshake_ = true;
      return received_.empty();
    case SEC_E_INCOMPLETE_MESSAGE:
      return true;
    default:
      broken_ = true;
      throw EIdSSLSessionError("SSL read failed: " + SecurityStatusText(status));
  }
}

void TSchannelSession::AfterRenegotiation() {
  if (sspi_.QueryContextAttributesA(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) {
    broken_ = true;
    throw EIdSSLSessionError("SSL read failed: the session's record sizes are unknown");
  }
  if (!renegotiationHandshake_) return;
  // A new handshake may have brought another certificate and protocol; both are checked again.
  renegotiationHandshake_ = false;
  certificateChecked_ = false;
  CheckProtocol();
  CheckCertificate(true);
}

void TSchannelSession::Close() {
  // Never waits: the alert goes only when nothing else is still waiting to be sent.
  if (broken_ || !established_ || pendingStart_ < pending_.size()) return;
  DWORD type = SCHANNEL_SHUTDOWN;
  SecBuffer token{sizeof type, SECBUFFER_TOKEN, &type};
  SecBufferDesc tokens{SECBUFFER_VERSION, 1, &token};
  if (sspi_.ApplyControlToken(&context_, &tokens) != SEC_E_OK) return;
  HandshakeStep(nullptr, 0);
  SendPending();
}

}  // namespace pelmorix
