#include <gtest/gtest.h>

#include "base/convert.h"
#include "http/http_request.h"
#include "http/internet_date.h"
#include "http/proxy_connection_info.h"
#include "http/request_composition.h"
#include "http/response_header.h"

namespace pelmorix {
namespace {

using Lines = std::vector<std::string>;
constexpr auto pv1_1 = TIdHTTPProtocolVersion::pv1_1;
constexpr auto pv1_0 = TIdHTTPProtocolVersion::pv1_0;

// A client's remembered URL starts with the client's port.
TIdURI FreshCurrentUrl() {
  TIdURI url;
  url.Port = "80";
  return url;
}

void Compose(TIdHTTPRequest& request, TIdURI& current, const std::string& target,
             TIdHTTPProtocolVersion version = pv1_1) {
  request.Target = target;
  ComposeRequest(request, current, version);
}

TEST(RequestComposition, LauncherRequestHasHostAcceptAndUserAgentOnly) {
  TIdHTTPRequest request;
  TIdURI current = FreshCurrentUrl();
  Compose(request, current, "http://www.example.com/starter/index.php?action=getbutton&param1=3");
  EXPECT_EQ(RequestLine(request, pv1_1),
            "GET /starter/index.php?action=getbutton&param1=3 HTTP/1.1");
  EXPECT_EQ(RequestLine(request, pv1_0),
            "GET /starter/index.php?action=getbutton&param1=3 HTTP/1.0");
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.Lines(),
            (Lines{"Host: www.example.com", "Accept: text/html, */*",
                   "User-Agent: Mozilla/3.0 (compatible; Pelmorix HTTP)"}));
  EXPECT_EQ(current.Protocol, "http");
  EXPECT_EQ(current.Port, "80");
  EXPECT_EQ(current.Path, "/starter/");

  Compose(request, current, "http://www.example.com");
  EXPECT_EQ(request.Target, "/");
  // No bookmark and no backslash reach the request line.
  Compose(request, current, "http://h\\dir\\a.php?x=\\y#top");
  EXPECT_EQ(request.Target, "/dir/a.php?x=/y");
  Compose(request, current, "http://h/b.php?x#y");
  EXPECT_EQ(request.Target, "/b.php?x");
}

TEST(RequestComposition, RelativeUrlsKeepHostPortAndEncryption) {
  TIdHTTPRequest request;
  TIdURI current = FreshCurrentUrl();
  Compose(request, current, "https://secure.example.com:8443/a/c/page.php");
  Compose(request, current, "../b/next.php?x=1");
  EXPECT_EQ(request.Target, "/a/b/next.php?x=1");
  EXPECT_EQ(current.Host, "secure.example.com");
  EXPECT_EQ(current.Port, "8443");
  // Not plain text to the TLS port.
  EXPECT_EQ(current.Protocol, "https");
  EXPECT_EQ(request.Host, "secure.example.com:8443");
  Compose(request, current, "other.php");
  EXPECT_EQ(request.Target, "/a/b/other.php");
  // After any other protocol a relative URL is plain http.
  Compose(request, current, "ftp://h:21/");
  Compose(request, current, "x");
  EXPECT_EQ(current.Protocol, "http");
}

TEST(RequestComposition, PortRulesAndTheHostLine) {
  TIdHTTPRequest request;
  TIdURI current = FreshCurrentUrl();
  Compose(request, current, "http://h:80/");
  EXPECT_EQ(request.Host, "h");
  Compose(request, current, "http://h:080/");
  EXPECT_EQ(request.Host, "h:080");
  Compose(request, current, "https://h/");
  EXPECT_EQ(request.Host, "h:443");
  Compose(request, current, "HTTP://h/");
  EXPECT_EQ(request.Host, "h");
  // An unknown protocol without a port keeps the previous port...
  Compose(request, current, "ftp://h:21/");
  Compose(request, current, "gopher://g/");
  EXPECT_EQ(request.Host, "g:21");
  // ...and fails when there is none.
  TIdURI empty;
  try {
    Compose(request, empty, "gopher://g/");
    FAIL();
  } catch (const EIdUnknownProtocol& e) {
    EXPECT_EQ(e.Message(), "");
    EXPECT_STREQ(e.ClassName(), "EIdUnknownProtocol");
  }
}

TEST(RequestComposition, MethodsBodiesAndVersions) {
  TIdHTTPRequest request;
  TIdURI current = FreshCurrentUrl();
  request.Verb = TIdHTTPMethod::Options;
  Compose(request, current, "http://h/*");
  EXPECT_EQ(RequestLine(request, pv1_1), "OPTIONS * HTTP/1.1");
  for (TIdHTTPMethod method : {TIdHTTPMethod::Options, TIdHTTPMethod::Trace, TIdHTTPMethod::Put}) {
    request.Verb = method;
    try {
      Compose(request, current, "http://h/x", pv1_0);
      FAIL();
    } catch (const EIdException& e) {
      EXPECT_EQ(e.Message(), "This request method is supported in HTTP 1.1");
    }
  }
  TMemoryStream body;
  body.WriteText("hello");
  request.Verb = TIdHTTPMethod::Post;
  request.UploadStream = &body;
  Compose(request, current, "http://h/form", pv1_0);
  EXPECT_EQ(request.ContentLength(), 5);
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.ValueOf("Content-Length"), "5");
  EXPECT_EQ(RequestLine(request, pv1_0), "POST /form HTTP/1.0");
  request.Verb = TIdHTTPMethod::Get;
  Compose(request, current, "http://h/form");
  EXPECT_EQ(request.ContentLength(), -1);
  EXPECT_FALSE(request.HasContentLength());
}

TEST(RequestComposition, UserInfoBecomesBasicCredentialsThatStayAttached) {
  TIdHTTPRequest request;
  TIdURI current = FreshCurrentUrl();
  Compose(request, current, "http://u:p@h/x");
  EXPECT_EQ(request.Username, "u");
  EXPECT_EQ(current.Password, "p");
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.ValueOf("Authorization"), "");
  request.BasicAuthentication = true;
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.ValueOf("Authorization"), "Basic dTpw");
  ASSERT_NE(request.Authenticator, nullptr);
  // Later requests use the credential object's own name, not the record's.
  request.Username = "other";
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.ValueOf("Authorization"), "Basic dTpw");
}

TEST(RequestHeaders, LinesComeInTheirOrderWithCustomLinesInPlace) {
  TIdHTTPRequest request;
  request.Connection = "keep-alive";
  request.ContentType = "text/plain";
  request.SetContentLength(0);
  request.CacheControl = "no-cache";
  request.Date = 35000.5;
  request.LastModified = 34700.25;
  request.Pragma = "no-cache";
  request.CustomHeaders.Add("X-First: 1");
  request.CustomHeaders.Add("Host: placeholder");
  request.CustomHeaders.Add("X-Last: 2");
  request.Host = "h:8080";
  request.Referer = "http://r/";
  request.ContentRangeStart = 5;
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.Lines(),
            (Lines{"Connection: keep-alive", "Content-Type: text/plain", "Content-Length: 0",
                   "Cache-control: no-cache", "Date: " + DateTimeToZoneText(35000.5),
                   "Last-Modified: " + DateTimeToGMTText(34700.25), "Pragma: no-cache",
                   "X-First: 1", "Host: h:8080", "X-Last: 2", "Accept: text/html, */*",
                   "Referer: http://r/", "User-Agent: Mozilla/3.0 (compatible; Pelmorix HTTP)",
                   "If-Modified-Since: " + DateTimeToZoneText(34700.25), "Range: bytes=5-"}));
  request.ContentRangeEnd = 10;
  request.BuildHeaderLines();
  EXPECT_EQ(request.HeaderLines.ValueOf("Range"), "bytes=5-10");
  EXPECT_EQ(request.CustomHeaders.Count(), 3);
}

TEST(RequestHeaders, ClearingRestoresTheDefaults) {
  TIdHTTPRequest request;
  EXPECT_EQ(request.Accept, "text/html, */*");
  EXPECT_EQ(request.UserAgent, "Mozilla/3.0 (compatible; Pelmorix HTTP)");
  EXPECT_EQ(request.ContentLength(), -1);
  EXPECT_FALSE(request.HasContentLength());
  request.Accept = "a";
  request.AcceptCharSet = "utf-8";
  request.UserAgent = "u";
  request.BasicAuthentication = true;
  request.SetContentLength(3);
  request.ContentRangeEnd = 4;
  request.Expires = 1;
  request.ContentType = "t";
  request.HeaderLines.Add("X: y");
  request.Clear();
  EXPECT_EQ(request.Accept, "text/html, */*");
  EXPECT_EQ(request.AcceptCharSet, "");
  EXPECT_EQ(request.UserAgent, "Mozilla/3.0 (compatible; Pelmorix HTTP)");
  EXPECT_FALSE(request.BasicAuthentication);
  EXPECT_EQ(request.ContentLength(), -1);
  EXPECT_EQ(request.ContentRangeEnd, 0);
  EXPECT_EQ(request.Expires, 0);
  EXPECT_EQ(request.ContentType, "");
  EXPECT_EQ(request.HeaderLines.Count(), 0);

  TIdHTTPRequest copy;
  request.Referer = "r";
  copy.Assign(request);
  EXPECT_EQ(copy.Referer, "r");
}

TEST(ProxyConnectionInfo, ANewServerOrPortDropsTheCredentials) {
  TIdProxyConnectionInfo proxy;
  proxy.SetProxyServer("proxy");
  proxy.Authenticator = std::make_unique<TIdBasicAuthentication>();
  proxy.SetProxyServer("PROXY");
  EXPECT_NE(proxy.Authenticator, nullptr);
  proxy.SetProxyServer("other");
  EXPECT_EQ(proxy.Authenticator, nullptr);
  proxy.Authenticator = std::make_unique<TIdBasicAuthentication>();
  proxy.SetProxyPort(0);
  EXPECT_NE(proxy.Authenticator, nullptr);
  proxy.SetProxyPort(3128);
  EXPECT_EQ(proxy.Authenticator, nullptr);
}

TEST(ResponseHeaders, ParsesTheReplyFields) {
  TIdResponseHeaderInfo response;
  EXPECT_EQ(response.ContentType, "text/html");
  response.HeaderLines.Add("Location: http://x/");
  response.HeaderLines.Add("Server: demo");
  response.HeaderLines.Add("Content-Range: bytes 10-99/1000");
  response.HeaderLines.Add("WWW-Authenticate: Basic realm=\"a\"");
  response.HeaderLines.Add("www-authenticate: Digest");
  response.HeaderLines.Add(" nonce=1");
  response.HeaderLines.Add("Content-Length:  12 ");
  response.HeaderLines.Add("Date: Sun, 06 Nov 1994 08:49:37 GMT");
  response.HeaderLines.Add("Expires: -5");
  response.HeaderLines.Add("Connection: close");
  response.ParseHeaderLines();
  EXPECT_EQ(response.Location, "http://x/");
  EXPECT_EQ(response.Server, "demo");
  EXPECT_EQ(response.ContentRangeStart, 10);
  EXPECT_EQ(response.ContentRangeEnd, 99);
  EXPECT_EQ(response.WWWAuthenticate.Lines(), (Lines{"Basic realm=\"a\"", "Digest nonce=1"}));
  EXPECT_EQ(response.ContentLength(), 12);
  EXPECT_TRUE(response.HasContentLength());
  EXPECT_NEAR(response.Date, InternetDateToLocal("Sun, 06 Nov 1994 08:49:37 GMT"), 1e-9);
  EXPECT_EQ(response.Expires, 0);
  EXPECT_EQ(response.LastModified, 0);  // no header, no date
  EXPECT_EQ(response.Connection, "close");
  EXPECT_EQ(response.ContentType, "");

  response.HeaderLines.Clear();
  response.HeaderLines.Add("Content-Length: 12x");
  response.HeaderLines.Add("Expires: 60");
  const TDateTime before = Now();
  response.ParseHeaderLines();
  EXPECT_EQ(response.ContentLength(), -1);
  EXPECT_FALSE(response.HasContentLength());
  EXPECT_GE(response.Expires, before + 59.0 / 86400);
  response.HeaderLines.Add("Content-Range: bytes */1000");
  EXPECT_THROW(response.ParseHeaderLines(), EConvertError);
  response.Clear();
  EXPECT_EQ(response.ContentType, "text/html");
}

}  // namespace
}  // namespace pelmorix
