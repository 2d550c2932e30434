#pragma once

#include <memory>
#include <string>

#include "http/authentication.h"
#include "http/entity_header.h"

namespace pelmorix {

// The header fields of a request.
class TIdRequestHeaderInfo : public TIdEntityHeaderInfo {
 public:
  static constexpr const char* kDefaultAccept = "text/html, */*";
  static constexpr const char* kDefaultUserAgent = "Mozilla/3.0 (compatible; Pelmorix HTTP)";

  TIdRequestHeaderInfo();

  // Copies the fields; the Authenticator stays with its record.
  void Assign(const TIdEntityHeaderInfo& source) override;
  void ParseHeaderLines() override;
  // The entity lines and custom lines, then the request lines and "Authorization".
  void BuildHeaderLines() override;
  // Restores Accept and UserAgent, empties AcceptCharSet and turns Basic credentials off.
  void Clear() override;

  std::string Accept;
  std::string AcceptCharSet;
  std::string AcceptEncoding;
  std::string AcceptLanguage;
  std::string From;
  std::string Referer;
  std::string UserAgent;
  std::string Host;
  std::string ProxyConnection;
  std::string Username;
  std::string Password;
  bool BasicAuthentication = false;
  // The credential object in use for this record; owned by it.
  std::unique_ptr<TIdAuthentication> Authenticator;
  // Set by a client for a request to another origin than its credentials were given for: the
  // lines then have no "Authorization".
  bool WithholdCredentials = false;
};

// The value of an "Authorization" or "Proxy-Authorization" line: the text of the authenticator
// when there is one; otherwise, with Basic credentials wanted, the text of a Basic authenticator
// that is created for the user name and password and kept. Empty when neither gives a text.
std::string AuthorizationValue(std::unique_ptr<TIdAuthentication>& authenticator,
                               bool basicAuthentication, const std::string& username,
                               const std::string& password);

}  // namespace pelmorix
