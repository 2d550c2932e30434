#pragma once

#include <string>

#include "http/request_header.h"
#include "http/uri.h"

namespace pelmorix {

// The origin (scheme, host and port) that a client's server credentials were given for: the
// request record's user name, password, Basic flag and authenticator go there only, never with
// a redirect or a later URL to another origin, and never in plain text after https.
class TIdCredentialOrigin {
 public:
  // For an attempt whose URL is composed. Credentials the URL gave, or that are new on the
  // record since they were bound, bind to the URL's origin; an authenticator held for the
  // previous origin is dropped then, as it carries that origin's credentials. Gives whether the
  // attempt may carry the record's credentials.
  bool Admit(const TIdURI& url, bool givenInUrl, TIdRequestHeaderInfo& request);
  // The record's credentials answered the challenge of the URL's origin and belong to it.
  void Bind(const TIdURI& url, const TIdRequestHeaderInfo& request);

 private:
  struct THeld {
    std::string Username;
    std::string Password;
    // Basic credentials wanted or an authenticator attached: something goes out.
    bool Sends = false;
    bool operator==(const THeld&) const = default;
  };
  static THeld HeldBy(const TIdRequestHeaderInfo& request);

  std::string origin_;  // empty while nothing is bound
  THeld held_;
};

}  // namespace pelmorix
