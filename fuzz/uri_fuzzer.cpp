// Splits the first line as a URL, composes it back where it has a protocol and a host, and
// runs the request composition of the first line and then the second through one remembered
// URL, as two requests of a client would.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_support.h"
#include "http/http_request.h"
#include "http/request_composition.h"
#include "http/uri.h"

namespace pelmorix {
namespace {

bool SameParts(const TIdURI& a, const TIdURI& b) {
  return a.Protocol == b.Protocol && a.Username == b.Username && a.Password == b.Password &&
         a.Host == b.Host && a.Port == b.Port && a.Path == b.Path && a.Document == b.Document &&
         a.Params == b.Params && a.Bookmark == b.Bookmark;
}

void CheckSplit(const TIdURI& uri) {
  for (const std::string* part : {&uri.Protocol, &uri.Username, &uri.Password, &uri.Host, &uri.Port,
                                  &uri.Path, &uri.Document, &uri.Params, &uri.Bookmark}) {
    FUZZ_CHECK(part->find('\\') == std::string::npos);
  }
  if (uri.URI.find("://") != std::string::npos) FUZZ_CHECK(!uri.Path.empty() && uri.Path[0] == '/');
  FUZZ_CHECK(uri.Path.empty() || uri.Path.back() == '/');
  FUZZ_CHECK(uri.Document.find('/') == std::string::npos);
  FUZZ_CHECK(uri.Params.empty() || uri.Params[0] == '?' || uri.Params[0] == '=');
  FUZZ_CHECK(!uri.Username.empty() || uri.Password.empty());
}

void CheckCompose(TIdURI& uri) {
  if (uri.Protocol.empty() || uri.Host.empty()) {
    bool raised = false;
    try {
      uri.GetFullURI();
    } catch (const EIdURIException&) {
      raised = true;
    }
    FUZZ_CHECK(raised);
    return;
  }
  const std::string full = uri.GetFullURI();
  const std::string plain = uri.GetURI();
  FUZZ_CHECK(uri.URI == full);
  // The composed text splits into the same parts again, unless a second "@" sits in the host
  // or port (the first "@" ends the user info, so such a text reads differently once the user
  // info changes) or the params keep a "#" (the bookmark was taken from the document, and
  // composed after the params it reads as part of them).
  if ((uri.Host + uri.Port).find('@') != std::string::npos) return;
  FUZZ_CHECK(TIdURI(plain).Host == uri.Host);
  if (uri.Params.find('#') == std::string::npos) FUZZ_CHECK(SameParts(uri, TIdURI(full)));
}

void Compose(TIdHTTPRequest& request, TIdURI& current, const std::string& target) {
  request.Target = target;
  try {
    ComposeRequest(request, current, TIdHTTPProtocolVersion::pv1_1);
  } catch (const EIdException&) {
    return;  // no port to be told
  }
  FUZZ_CHECK(request.Target == current.Path + current.Document + current.Params);
  FUZZ_CHECK(!current.Port.empty());
}

}  // namespace
}  // namespace pelmorix

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelmorix;
  const std::string input = InputText(data, size);
  const size_t newline = input.find('\n');
  const std::string first = input.substr(0, newline);
  const std::string second = newline == std::string::npos ? "" : input.substr(newline + 1);

  TIdURI uri(first);
  CheckSplit(uri);
  CheckCompose(uri);

  TIdURI current;
  current.Port = "80";
  TIdHTTPRequest request;
  Compose(request, current, first);
  Compose(request, current, second);
  return 0;
}
