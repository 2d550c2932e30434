#include "http/request_composition.h"

#include "base/convert.h"
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

}  // namespace

void ComposeRequest(TIdHTTPRequest& request, TIdURI& currentUrl, TIdHTTPProtocolVersion version) {
  const TIdURI url(request.Target);
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
  currentUrl.Protocol = url.Protocol.empty() ? std::string("http") : url.Protocol;
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
}

}  // namespace pelmorix
