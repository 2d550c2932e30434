#include <gtest/gtest.h>

#include "base/convert.h"
#include "http/cookie.h"
#include "http/cookie_manager.h"
#include "http/internet_date.h"

namespace pelmorix {
namespace {

TEST(Cookie, ParsesPairAndAttributes) {
  TIdCookieRFC2109 cookie;
  cookie.SetCookieText(
      "sid=a=b; Path=\"/starter/\"; DOMAIN=example.com; secure; Version=1; comment=hi");
  EXPECT_EQ(cookie.CookieName, "sid");
  EXPECT_EQ(cookie.Value, "a=b");
  EXPECT_EQ(cookie.Path, "/starter/");
  EXPECT_EQ(cookie.Domain, "example.com");
  EXPECT_TRUE(cookie.Secure);
  EXPECT_EQ(cookie.Version, "1");
  EXPECT_EQ(cookie.Comment, "hi");
  // Without an expiry the cookie counts as a Netscape one.
  EXPECT_EQ(cookie.InternalVersion, TIdCookieVersion::cvNetscape);
  EXPECT_EQ(cookie.MaxAge, -1);
  EXPECT_EQ(cookie.Expires(), "");

  TIdCookieRFC2109 odd;
  odd.SetCookieText("  a=b ");  // one piece is taken as it is
  EXPECT_EQ(odd.CookieName, "  a");
  EXPECT_EQ(odd.Value, "b ");
  odd.SetCookieText("flag; secure=1; path=/x");
  EXPECT_EQ(odd.CookieName, "");
  EXPECT_EQ(odd.Value, "");
  EXPECT_FALSE(odd.Secure);
  EXPECT_EQ(odd.Path, "/x");
  // The text it already holds changes nothing.
  odd.Path = "/changed";
  odd.SetCookieText("flag; secure=1; path=/x");
  EXPECT_EQ(odd.Path, "/changed");
}

TEST(Cookie, ExpiryAndMaxAgeTellEachOther) {
  TIdCookieRFC2109 dated;
  const std::string inAnHour = DateTimeToZoneText(Now() + 1.0 / 24);
  dated.SetCookieText("a=1; expires=" + inAnHour);
  EXPECT_EQ(dated.InternalVersion, TIdCookieVersion::cvRFC2109);
  EXPECT_EQ(dated.Expires(), inAnHour);
  // The max-age attribute counts over the expiry's seconds; none here.
  EXPECT_EQ(dated.MaxAge, -1);
  dated.SetExpires(inAnHour);
  EXPECT_NEAR(static_cast<double>(dated.MaxAge), 3600, 2);

  TIdCookieRFC2109 aged;
  aged.SetCookieText("a=1; max-age=100");
  EXPECT_EQ(aged.InternalVersion, TIdCookieVersion::cvNetscape);
  EXPECT_NEAR(static_cast<double>(aged.MaxAge), 100, 2);
  EXPECT_NEAR(InternetDateToLocal(aged.Expires()), Now() + 100.0 / 86400, 2.0 / 86400);
  aged.SetCookieText("a=1; max-age=soon");
  EXPECT_EQ(aged.MaxAge, -1);
  EXPECT_EQ(aged.Expires(), "");
}

TEST(Cookie, MaxAgePastTheLastDateLastsUntilThen) {
  // A date text ends with the year 9999; a longer max-age must not wrap into an unreadable
  // text, which would read as 1899 and end the cookie at once.
  TDateTime last = 0, lastSecond = 0;
  ASSERT_TRUE(TryEncodeDate(9999, 12, 31, last));
  ASSERT_TRUE(TryEncodeTime(23, 59, 59, 0, lastSecond));
  for (const char* age : {"300000000000", "9223372036854775807"}) {
    TIdCookieRFC2109 cookie;
    cookie.SetCookieText(std::string("a=1; max-age=") + age);
    EXPECT_NEAR(InternetDateToLocal(cookie.Expires()), last + lastSecond, 1.0 / 86400) << age;
    EXPECT_GT(cookie.MaxAge, 0) << age;
  }
  TIdCookieManager store;
  store.AddCookie("a=1; max-age=300000000000", "www.example.com");
  EXPECT_EQ(store.CookieTextFor(TIdURI("http://www.example.com/"), false), "a=1");
}

TEST(Cookie, ServerFormKeepsPairExpiryAndAttributes) {
  TIdCookieRFC2109 cookie;
  cookie.SetCookieText("sid=1; path=/; domain=h; secure; comment=c; version=1");
  EXPECT_EQ(cookie.ServerCookie(), "sid=1; path=/; domain=h; secure; comment=c; version=1");
  cookie.MaxAge = 5;
  EXPECT_EQ(cookie.ServerCookie(),
            "sid=1; path=/; domain=h; secure; max-age=5; comment=c; version=1");

  TIdCookieRFC2109 deleted;
  deleted.SetCookieText("sid=; expires=Thu, 01 Jan 1970 00:00:00 GMT; path=/");
  EXPECT_EQ(deleted.ServerCookie(), "sid=; path=/; expires=Thu, 01 Jan 1970 00:00:00 GMT");
  // Copying through the server form keeps the name, the empty value and the expiry.
  cookie.Assign(deleted);
  EXPECT_EQ(cookie.CookieName, "sid");
  EXPECT_EQ(cookie.Value, "");
  EXPECT_EQ(cookie.Expires(), "Thu, 01 Jan 1970 00:00:00 GMT");
  EXPECT_EQ(cookie.Path, "/");
  EXPECT_EQ(cookie.InternalVersion, TIdCookieVersion::cvRFC2109);
  EXPECT_EQ(cookie.ClientCookie(), "sid=");
}

TEST(Cookie, Rfc2965ReadsPortsDiscardAndCommentUrl) {
  TIdCookieRFC2965 cookie;
  EXPECT_EQ(cookie.InternalVersion, TIdCookieVersion::cvRFC2965);
  cookie.SetCookieText("a=1; Port=\"80, 8080\"; Discard; CommentURL=http://c/");
  EXPECT_EQ(cookie.PortList, (std::vector<int32_t>{80, 8080}));
  EXPECT_TRUE(cookie.Discard);
  EXPECT_EQ(cookie.CommentURL, "http://c/");
  cookie.SetCookieText("a=1");
  EXPECT_EQ(cookie.PortList, (std::vector<int32_t>{80}));
  cookie.SetCookieText("a=1; port=\"\"");
  EXPECT_EQ(cookie.PortList, (std::vector<int32_t>{80}));
  cookie.SetCookieText("a=1; port=8080");
  EXPECT_TRUE(cookie.PortList.empty());
  EXPECT_THROW(cookie.SetCookieText("a=1; port=\"80,x\""), EConvertError);
}

TEST(Cookie, HostMaySetItsOwnNameOrADomainThatEndsItAfterADot) {
  auto allowed = [](const std::string& domain, const std::string& host) {
    TIdNetscapeCookie cookie;
    cookie.Domain = domain;
    return cookie.IsAllowed(host);
  };
  EXPECT_TRUE(allowed("www.example.com", "www.example.com"));
  EXPECT_TRUE(allowed("example.com", "www.example.com"));
  EXPECT_TRUE(allowed(".example.com", "www.example.com"));
  EXPECT_FALSE(allowed("other.example.com", "www.example.com"));
  EXPECT_FALSE(allowed(".other.com", "www.example.com"));
  EXPECT_TRUE(allowed("WWW.example.com", "www.example.com"));  // names ignore case
  EXPECT_FALSE(allowed("www.example.com.evil", "www.example.com"));
  // Not after a dot, or a whole top-level domain.
  EXPECT_FALSE(allowed("ample.com", "www.example.com"));
  EXPECT_FALSE(allowed("com", "www.example.com"));
  EXPECT_FALSE(allowed(".com", "www.example.com"));
  EXPECT_FALSE(allowed("", "www.example.com"));
  EXPECT_TRUE(allowed("localhost", "localhost"));
  EXPECT_TRUE(allowed(".EXAMPLE.com", ".example.com"));
  EXPECT_TRUE(allowed("127.0.0.1", "127.0.0.1"));
  EXPECT_FALSE(allowed("0.0.1", "127.0.0.1"));
  EXPECT_FALSE(allowed(".0.0.1", "127.0.0.1"));
  EXPECT_TRUE(IsDottedIPv4("255.0.10.1"));
  for (const char* name : {"256.0.0.1", "1.2.3", "1.2.3.4.5", "1..2.3", "a.b.c.d", "1.2.3.4."}) {
    EXPECT_FALSE(IsDottedIPv4(name)) << name;
  }
}

}  // namespace
}  // namespace pelmorix
