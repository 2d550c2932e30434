#include "http/cookie.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/int64_convert.h"
#include "base/text.h"
#include "http/internet_date.h"

namespace pelmorix {
namespace {

void AddPart(std::string& text, const std::string& part) {
  if (!text.empty()) text += "; ";
  text += part;
}

void AddAttribute(std::string& text, const char* name, const std::string& value) {
  if (!value.empty()) AddPart(text, name + ("=" + value));
}

std::string WithoutQuotes(std::string text) {
  if (!text.empty() && text.front() == '"') text.erase(0, 1);
  if (!text.empty() && text.back() == '"') text.pop_back();
  return text;
}

// Port="80,8080" lists the ports; no value means the default port; any other form lists none.
std::vector<int32_t> ReadPortList(const std::string& value) {
  if (value.empty()) return {80};
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return {};
  std::string list = value.substr(1, value.size() - 2);
  std::vector<int32_t> ports;
  size_t start = 0;
  while (!list.empty()) {
    const size_t comma = list.find(',', start);
    ports.push_back(StrToInt(Trim(std::string_view(list).substr(start, comma - start))));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (ports.empty()) ports.push_back(80);
  return ports;
}

// The local moment max-age seconds from now. A date text ends with the year 9999, and a later
// moment would be written as a text that reads as no date at all, ending the cookie at once.
TDateTime ExpiryAfter(int64_t maxAge) {
  TDateTime lastDay = 0, lastSecond = 0;
  TryEncodeDate(9999, 12, 31, lastDay);
  TryEncodeTime(23, 59, 59, 0, lastSecond);
  return std::min(Now() + static_cast<double>(maxAge) / kSecondsPerDay, lastDay + lastSecond);
}

}  // namespace

void TIdNetscapeCookie::SetCookieText(const std::string& text) {
  TLocalOffsetOnce localOffset;
  SetCookieText(text, localOffset);
}

void TIdNetscapeCookie::SetCookieText(const std::string& text, TLocalOffsetOnce& localOffset) {
  if (text == cookieText_) return;
  cookieText_ = text;
  TCookieAttributes attributes;
  SplitCookieText(text, CookieName, Value, attributes);
  LoadProperties(attributes, localOffset);
}

void TIdNetscapeCookie::LoadProperties(const TCookieAttributes& attributes,
                                       TLocalOffsetOnce& localOffset) {
  Path = WithoutQuotes(attributes.Value("PATH"));
  SetExpires(attributes.Value("EXPIRES"), localOffset);
  Domain = attributes.Value("DOMAIN");
  Secure = attributes.HasFlag("SECURE");
}

void TIdNetscapeCookie::SetExpires(const std::string& expires) {
  TLocalOffsetOnce localOffset;
  SetExpires(expires, localOffset);
}

void TIdNetscapeCookie::SetExpires(const std::string& expires, TLocalOffsetOnce&) {
  expires_ = expires;
  expiresUtc_ = expires.empty() ? 0 : InternetDateToUTC(expires);
}

std::string TIdNetscapeCookie::ServerCookie() const {
  // The pair comes first even with an empty value, and the expiry is kept for every kind, so
  // that a cookie replaced from this text keeps its name, its value and its end.
  std::string text = CookieName + "=" + Value;
  AddAttribute(text, "path", Path);
  AddAttribute(text, "expires", expires_);
  AddAttribute(text, "domain", Domain);
  if (Secure) AddPart(text, "secure");
  return text;
}

void TIdNetscapeCookie::Assign(const TIdNetscapeCookie& source) {
  TLocalOffsetOnce localOffset;
  Assign(source, localOffset);
}

void TIdNetscapeCookie::Assign(const TIdNetscapeCookie& source, TLocalOffsetOnce& localOffset) {
  if (&source == this) return;
  SetCookieText(source.ServerCookie(), localOffset);
  InternalVersion = source.InternalVersion;
  // The server form names the domain of a host-only cookie too.
  HostOnly = source.HostOnly;
}

std::string TIdCookieRFC2109::ServerCookie() const {
  std::string text = TIdNetscapeCookie::ServerCookie();
  if (MaxAge >= 0 && Expires().empty()) AddAttribute(text, "max-age", IntToStr(MaxAge));
  AddAttribute(text, "comment", Comment);
  AddAttribute(text, "version", Version);
  return text;
}

void TIdCookieRFC2109::SetExpires(const std::string& expires, TLocalOffsetOnce& localOffset) {
  if (!expires.empty()) {
    try {
      const TDateTime left = InternetDateToLocal(expires, localOffset.Get()) - Now();
      MaxAge = static_cast<int64_t>(std::trunc(left * kSecondsPerDay));
    } catch (const EIdFailedToRetreiveTimeZoneInfo&) {
      // Max-age stays as it was; the expiry text alone still ends the cookie.
    }
  }
  TIdNetscapeCookie::SetExpires(expires, localOffset);
}

void TIdCookieRFC2109::LoadProperties(const TCookieAttributes& attributes,
                                      TLocalOffsetOnce& localOffset) {
  TIdNetscapeCookie::LoadProperties(attributes, localOffset);
  if (!TryStrToInt64(attributes.Value("MAX-AGE"), MaxAge)) MaxAge = -1;
  Version = attributes.Value("VERSION");
  Comment = attributes.Value("COMMENT");
  if (Expires().empty()) {
    InternalVersion = TIdCookieVersion::cvNetscape;
    if (MaxAge >= 0) {
      SetExpires(DateTimeToZoneText(ExpiryAfter(MaxAge), localOffset.Get()), localOffset);
    }
  }
}

void TIdCookieRFC2965::LoadProperties(const TCookieAttributes& attributes,
                                      TLocalOffsetOnce& localOffset) {
  TIdCookieRFC2109::LoadProperties(attributes, localOffset);
  CommentURL = attributes.Value("COMMENTURL");
  Discard = attributes.HasFlag("DISCARD");
  PortList = ReadPortList(attributes.Value("PORT"));
}

}  // namespace pelmorix
