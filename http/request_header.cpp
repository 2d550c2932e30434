#include "http/request_header.h"

#include "base/convert.h"
#include "http/internet_date.h"

namespace pelmorix {
namespace {

void SetIfNotEmpty(TIdHeaderList& lines, const char* name, const std::string& value) {
  if (!value.empty()) lines.SetValue(name, value);
}

std::string RangeValue(int32_t start, int32_t end) {
  std::string value = "bytes=" + IntToStr(start) + "-";
  if (end != 0) value += IntToStr(end);
  return value;
}

}  // namespace

std::string AuthorizationValue(std::unique_ptr<TIdAuthentication>& authenticator,
                               bool basicAuthentication, const std::string& username,
                               const std::string& password) {
  if (!authenticator) {
    if (!basicAuthentication) return "";
    authenticator = std::make_unique<TIdBasicAuthentication>();
    authenticator->SetUsername(username);
    authenticator->SetPassword(password);
  }
  return authenticator->Authentication();
}

TIdRequestHeaderInfo::TIdRequestHeaderInfo() { TIdRequestHeaderInfo::Clear(); }

void TIdRequestHeaderInfo::Assign(const TIdEntityHeaderInfo& source) {
  TIdEntityHeaderInfo::Assign(source);
  const auto* request = dynamic_cast<const TIdRequestHeaderInfo*>(&source);
  if (request == nullptr || request == this) return;
  Accept = request->Accept;
  AcceptCharSet = request->AcceptCharSet;
  AcceptEncoding = request->AcceptEncoding;
  AcceptLanguage = request->AcceptLanguage;
  From = request->From;
  Referer = request->Referer;
  UserAgent = request->UserAgent;
  Host = request->Host;
  ProxyConnection = request->ProxyConnection;
  Username = request->Username;
  Password = request->Password;
  BasicAuthentication = request->BasicAuthentication;
}

void TIdRequestHeaderInfo::ParseHeaderLines() {
  TIdEntityHeaderInfo::ParseHeaderLines();
  Accept = HeaderLines.ValueOf("Accept");
  AcceptCharSet = HeaderLines.ValueOf("Accept-Charset");
  AcceptEncoding = HeaderLines.ValueOf("Accept-Encoding");
  AcceptLanguage = HeaderLines.ValueOf("Accept-Language");
  From = HeaderLines.ValueOf("From");
  Referer = HeaderLines.ValueOf("Referer");
  UserAgent = HeaderLines.ValueOf("User-Agent");
  Host = HeaderLines.ValueOf("Host");
  ProxyConnection = HeaderLines.ValueOf("Proxy-Connection");
}

void TIdRequestHeaderInfo::BuildHeaderLines() {
  TIdEntityHeaderInfo::BuildHeaderLines();
  SetIfNotEmpty(HeaderLines, "Proxy-Connection", ProxyConnection);
  SetIfNotEmpty(HeaderLines, "Host", Host);
  SetIfNotEmpty(HeaderLines, "Accept", Accept);
  SetIfNotEmpty(HeaderLines, "Accept-Charset", AcceptCharSet);
  SetIfNotEmpty(HeaderLines, "Accept-Encoding", AcceptEncoding);
  SetIfNotEmpty(HeaderLines, "Accept-Language", AcceptLanguage);
  SetIfNotEmpty(HeaderLines, "From", From);
  SetIfNotEmpty(HeaderLines, "Referer", Referer);
  SetIfNotEmpty(HeaderLines, "User-Agent", UserAgent);
  if (LastModified > 0) {
    HeaderLines.SetValue("If-Modified-Since", DateTimeToZoneText(LastModified));
  }
  if (ContentRangeStart != 0 || ContentRangeEnd != 0) {
    HeaderLines.SetValue("Range", RangeValue(ContentRangeStart, ContentRangeEnd));
  }
  if (!WithholdCredentials) {
    SetIfNotEmpty(HeaderLines, "Authorization",
                  AuthorizationValue(Authenticator, BasicAuthentication, Username, Password));
  }
}

void TIdRequestHeaderInfo::Clear() {
  TIdEntityHeaderInfo::Clear();
  Accept = kDefaultAccept;
  AcceptCharSet.clear();
  UserAgent = kDefaultUserAgent;
  BasicAuthentication = false;
}

}  // namespace pelmorix
