#include "http/uri.h"

#include <algorithm>

#include "http/token.h"

namespace pelmorix {
namespace {

// Splits the part after the authority: the path up to its last "/" (before the params), the
// document, and the params from the first "?" (or, without one, the first "=") on.
void SplitPathPart(const std::string& rest, std::string& path, std::string& document,
                   std::string& params) {
  size_t query = rest.find('?');
  if (query == std::string::npos) query = rest.find('=');
  const size_t slash = query == std::string::npos ? rest.rfind('/') : rest.rfind('/', query);
  const size_t pathLength = slash == std::string::npos ? 0 : slash + 1;
  path = rest.substr(0, pathLength);
  if (query == std::string::npos) {
    document = rest.substr(pathLength);
    params.clear();
  } else {
    document = rest.substr(pathLength, query - pathLength);
    params = rest.substr(query);
  }
}

}  // namespace

TIdURI::TIdURI(const std::string& uri) {
  if (!uri.empty()) SetURI(uri);
}

void TIdURI::SetURI(const std::string& uri) {
  std::string rest = uri;
  std::replace(rest.begin(), rest.end(), '\\', '/');
  *this = TIdURI();
  URI = rest;
  const size_t scheme = rest.find("://");
  if (scheme != std::string::npos) {
    Protocol = rest.substr(0, scheme);
    rest.erase(0, scheme + 3);
    std::string authority = CutToken(rest, "/");
    const size_t at = authority.find('@');
    if (at != std::string::npos) {
      Password = authority.substr(0, at);
      authority.erase(0, at + 1);
    }
    Username = CutToken(Password, ":");
    if (Username.empty()) Password.clear();
    Host = CutToken(authority, ":");
    Port = authority;
    SplitPathPart(rest, Path, Document, Params);
    Path = std::string(1, '/') + Path;
  } else {
    SplitPathPart(rest, Path, Document, Params);
  }
  // A "#" in the document starts the bookmark, so it never reaches the request line.
  Bookmark = Document;
  Document = CutToken(Bookmark, "#");
  if (Bookmark.empty()) {
    Bookmark = Params;
    Params = CutToken(Bookmark, "#");
  }
}

std::string TIdURI::GetURI() {
  URI = GetFullURI(true, true);
  return GetFullURI(false, false);
}

std::string TIdURI::GetFullURI(bool withUserInfo, bool withBookmark) const {
  if (Protocol.empty()) throw EIdURIException("Protocol field is empty");
  std::string text = Protocol + "://";
  if (withUserInfo && !Username.empty()) {
    text += Username;
    if (!Password.empty()) text += ":" + Password;
    text += "@";
  }
  if (Host.empty()) throw EIdURIException("Host field is empty");
  text += Host;
  if (!Port.empty()) text += ":" + Port;
  text += Path + Document + Params;
  if (withBookmark && !Bookmark.empty()) text += "#" + Bookmark;
  return text;
}

std::string ReferenceScheme(const std::string& reference) {
  const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  if (reference.empty() || !isLetter(reference[0])) return "";
  for (size_t i = 1; i < reference.size(); ++i) {
    const char c = reference[i];
    if (c == ':') return reference.substr(0, i);
    if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return "";
  }
  return "";
}

}  // namespace pelmorix
