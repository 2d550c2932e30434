#include "http/request_composition.h"

#include "base/convert.h"
#include "base/format.h"
#include "base/text.h"
#include "http/merge_path.h"

namespace pelmorix {
namespace {

std::string PortFor(const TIdURI& url, const std::string& previousPort) {
  if (!url.Port.empty()) return url.Port;
  if (SameText(url.Protocol, "http")) return "80";
  if (SameText(url.Protocol, "https")) return "443";
  if (!previousPort.empty()) return previousPort;
  throw EIdUnknownProtocol("");
}

bool HasBody(TIdHTTPMethod method) {
  return method == TIdHTTPMethod::Post || method == TIdHTTPMethod::Put;
}

bool IsSlash(char c) { return c == '/' || c == '\\'; }

// Two references that RFC 3986 resolves against the previous URL but that the URL splitter
// would take for a path: "//host/path" names another authority under the previous scheme, and
// "?query" asks the previous document with another query.
std::string WithPreviousParts(const std::string& target, const TIdURI& previous) {
  if (target.size() >= 2 && IsSlash(target[0]) && IsSlash(target[1])) {
    return (previous.Protocol.empty() ? std::string("http") : previous.Protocol) + ":" + target;
  }
  if (!target.empty() && target[0] == '?') return previous.Path + previous.Document + target;
  return target;
}

void CheckHeaderValue(const char* name, const std::string& value) {
  if (HoldsLineBreakOrNul(value)) ThrowInvalidHeaderValue(name);
}

}  // namespace

void ThrowInvalidHeaderValue(const std::string& name) {
  throw EIdInvalidRequestCharacter(Format("Header %s holds CR, LF or NUL.", name.c_str()));
}

void CheckRequestText(const TIdHTTPRequest& request) {
  if (HoldsLineBreakOrNul(request.Target)) {
    throw EIdInvalidRequestCharacter("Request target holds CR, LF or NUL.");
  }
  // The fields of BuildHeaderLines that are texts; the numbers and dates are written by the
  // client itself, and credentials travel in base64.
  CheckHeaderValue("Connection", request.Connection);
  CheckHeaderValue("Content-Version", request.ContentVersion);
  CheckHeaderValue("Content-Encoding", request.ContentEncoding);
  CheckHeaderValue("Content-Language", request.ContentLanguage);
  CheckHeaderValue("Content-Type", request.ContentType);
  CheckHeaderValue("Cache-control", request.CacheControl);
  CheckHeaderValue("Pragma", request.Pragma);
  CheckHeaderValue("Proxy-Connection", request.ProxyConnection);
  CheckHeaderValue("Host", request.Host);
  CheckHeaderValue("Accept", request.Accept);
  CheckHeaderValue("Accept-Charset", request.AcceptCharSet);
  CheckHeaderValue("Accept-Encoding", request.AcceptEncoding);
  CheckHeaderValue("Accept-Language", request.AcceptLanguage);
  CheckHeaderValue("From", request.From);
  CheckHeaderValue("Referer", request.Referer);
  CheckHeaderValue("User-Agent", request.UserAgent);
  for (const std::string& line : request.CustomHeaders.Lines()) {
    if (HoldsLineBreakOrNul(line)) ThrowInvalidHeaderValue(line.substr(0, line.find(':')));
  }
}

bool ComposeRequest(TIdHTTPRequest& request, TIdURI& currentUrl, TIdHTTPProtocolVersion version) {
  const TIdURI url(WithPreviousParts(request.Target, currentUrl));
  if (!url.Username.empty()) {
    request.Username = url.Username;
    request.Password = url.Password;
  }
  currentUrl.Username = request.Username;
  currentUrl.Password = request.Password;
  currentUrl.Path = MergePath(currentUrl.Path, url.Path);
  currentUrl.Document = url.Document;
  currentUrl.Params = url.Params;
  if (!url.Host.empty()) currentUrl.Host = url.Host;
  // A relative URL after an https one stays encrypted; otherwise it is plain http.
  if (!url.Protocol.empty()) {
    currentUrl.Protocol = url.Protocol;
  } else if (!SameText(currentUrl.Protocol, "https")) {
    currentUrl.Protocol = "http";
  }
  currentUrl.Port = PortFor(url, currentUrl.Port);

  if (request.Verb == TIdHTTPMethod::Options && url.Document == "*") {
    request.Target.assign(1, '*');
  } else {
    request.Target = currentUrl.Path + currentUrl.Document + currentUrl.Params;
  }
  if (version == TIdHTTPProtocolVersion::pv1_0 && NeedsProtocol11(request.Verb)) {
    throw EIdException("This request method is supported in HTTP 1.1");
  }
  // A POST or PUT without a body source sends an empty body.
  if (HasBody(request.Verb)) {
    request.SetContentLength(
        request.UploadStream != nullptr ? static_cast<int32_t>(request.UploadStream->Size()) : 0);
  } else {
    request.SetContentLength(-1);
  }
  request.Host =
      currentUrl.Port == IntToStr(80) ? currentUrl.Host : currentUrl.Host + ":" + currentUrl.Port;
  CheckRequestText(request);
  return !url.Username.empty();
}

}  // namespace pelmorix
