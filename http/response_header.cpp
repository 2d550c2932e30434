#include "http/response_header.h"

#include <vector>

namespace pelmorix {
namespace {

void ReadAllValues(const TIdHeaderList& lines, const char* name, TIdHeaderList& into) {
  std::vector<std::string> values;
  lines.ValuesOf(name, values);
  into.Clear();
  for (std::string& value : values) into.Add(std::move(value));
}

}  // namespace

TIdResponseHeaderInfo::TIdResponseHeaderInfo() { TIdResponseHeaderInfo::Clear(); }

void TIdResponseHeaderInfo::ParseHeaderLines() {
  Location = HeaderLines.ValueOf("Location");
  Server = HeaderLines.ValueOf("Server");
  ProxyConnection = HeaderLines.ValueOf("Proxy-Connection");
  TIdEntityHeaderInfo::ParseHeaderLines();
  ReadAllValues(HeaderLines, "WWW-Authenticate", WWWAuthenticate);
  ReadAllValues(HeaderLines, "Proxy-Authenticate", ProxyAuthenticate);
}

void TIdResponseHeaderInfo::Clear() {
  TIdEntityHeaderInfo::Clear();
  ContentType = kDefaultContentType;
}

}  // namespace pelmorix
