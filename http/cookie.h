#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/datetime.h"
#include "http/cookie_attributes.h"
#include "http/local_offset_once.h"

namespace pelmorix {

// The kind of a cookie, by the header and attributes it came with.
enum class TIdCookieVersion { cvNetscape = 0, cvRFC2109 = 1, cvRFC2965 = 2 };

// A cookie as a server set it: parsed from its text, written back in the server's form, and
// checked against the host that sent it.
class TIdNetscapeCookie {
 public:
  TIdNetscapeCookie() = default;
  virtual ~TIdNetscapeCookie() = default;
  TIdNetscapeCookie(const TIdNetscapeCookie&) = delete;
  TIdNetscapeCookie& operator=(const TIdNetscapeCookie&) = delete;

  virtual const char* ClassName() const { return "TIdNetscapeCookie"; }
  // Parses a "Set-cookie" value; a text equal to the one held already changes nothing. The
  // expiry is read with the given local offset, or with one asked for by this call.
  void SetCookieText(const std::string& text);
  void SetCookieText(const std::string& text, TLocalOffsetOnce& localOffset);
  const std::string& CookieText() const { return cookieText_; }
  // name=value; path=...; expires=...; domain=...; secure
  virtual std::string ServerCookie() const;
  // The form sent back: name=value.
  virtual std::string ClientCookie() const { return CookieName + "=" + Value; }
  void SetExpires(const std::string& expires);
  virtual void SetExpires(const std::string& expires, TLocalOffsetOnce& localOffset);
  const std::string& Expires() const { return expires_; }
  // The expiry in UTC, valid when the expiry text is not empty.
  TDateTime ExpiresUTC() const { return expiresUtc_; }
  // Whether the host may set this cookie's domain: the domain must match it (DomainMatches).
  virtual bool IsAllowed(const std::string& host) const;
  // Takes the other cookie's server form as its own text, its kind and whether it is host-only.
  void Assign(const TIdNetscapeCookie& source);
  void Assign(const TIdNetscapeCookie& source, TLocalOffsetOnce& localOffset);

  std::string CookieName;
  std::string Value;
  std::string Domain;
  std::string Path;
  bool Secure = false;
  // Set without a domain: goes back only to the host that set it, not to the hosts below it.
  bool HostOnly = false;
  TIdCookieVersion InternalVersion = TIdCookieVersion::cvNetscape;

 protected:
  virtual void LoadProperties(const TCookieAttributes& attributes, TLocalOffsetOnce& localOffset);

 private:
  std::string cookieText_;
  std::string expires_;
  TDateTime expiresUtc_ = 0;
};

// A "Set-cookie" cookie, with max-age, version and comment.
class TIdCookieRFC2109 : public TIdNetscapeCookie {
 public:
  TIdCookieRFC2109() { InternalVersion = TIdCookieVersion::cvRFC2109; }
  const char* ClassName() const override { return "TIdCookieRFC2109"; }
  std::string ServerCookie() const override;
  // Also sets max-age to the seconds left until the expiry.
  using TIdNetscapeCookie::SetExpires;
  void SetExpires(const std::string& expires, TLocalOffsetOnce& localOffset) override;

  int64_t MaxAge = -1;  // -1 is none
  std::string Version;
  std::string Comment;

 protected:
  void LoadProperties(const TCookieAttributes& attributes, TLocalOffsetOnce& localOffset) override;
};

// A "Set-cookie2" cookie, with comment URL, discard flag and port list.
class TIdCookieRFC2965 : public TIdCookieRFC2109 {
 public:
  TIdCookieRFC2965() { InternalVersion = TIdCookieVersion::cvRFC2965; }
  const char* ClassName() const override { return "TIdCookieRFC2965"; }

  std::string CommentURL;
  bool Discard = false;
  std::vector<int32_t> PortList;

 protected:
  // A quoted port list whose parts are not decimal numbers raises EConvertError.
  void LoadProperties(const TCookieAttributes& attributes, TLocalOffsetOnce& localOffset) override;
};

// Four dot-separated decimal parts of 0 to 255.
bool IsDottedIPv4(std::string_view host);

// Whether a cookie domain covers the host: equal to it ignoring case, or, for a host name, an
// ending of it right after a "." that has a dot inside itself (example.com covers
// www.example.com, com covers nothing); a leading "." of the domain is not counted. A dotted
// IPv4 address is covered only by itself.
bool DomainMatches(const std::string& domain, const std::string& host);

// Whether a cookie path covers a request path: equal to it, or a beginning of it that ends
// with "/" or is followed by "/" ("/a" covers "/a/b" but not "/ab"). The empty path covers
// every path.
bool PathMatches(std::string_view cookiePath, std::string_view requestPath);

}  // namespace pelmorix
