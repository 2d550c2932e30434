#pragma once

#include <string>

#include "http/entity_header.h"

namespace pelmorix {

// The header fields of a reply, read from its header lines.
class TIdResponseHeaderInfo : public TIdEntityHeaderInfo {
 public:
  static constexpr const char* kDefaultContentType = "text/html";

  TIdResponseHeaderInfo();

  void ParseHeaderLines() override;
  // As the entity record, with ContentType back to "text/html".
  void Clear() override;

  std::string Location;
  std::string Server;
  std::string ProxyConnection;
  // Every value of "WWW-Authenticate" and of "Proxy-Authenticate", one a line.
  TIdHeaderList WWWAuthenticate;
  TIdHeaderList ProxyAuthenticate;
};

}  // namespace pelmorix
