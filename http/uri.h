#pragma once

#include <string>

#include "http/id_exception.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdURIException, EIdException);

// A URL split into its parts. Accepted forms:
//   protocol://[user[:password]@]host[:port][/path/][document][?params|=params][#bookmark]
//   [path/][document][?params|=params][#bookmark]           (relative, no "://")
// Every "\" counts as "/". The path of an absolute URL begins with "/" and ends with the last
// "/" before the document; params keep their leading "?" (or "=" when there is no "?").
class TIdURI {
 public:
  TIdURI() = default;
  explicit TIdURI(const std::string& uri);

  void SetURI(const std::string& uri);
  // The URL without user info and bookmark; the full form is kept in URI.
  std::string GetURI();
  // Raises EIdURIException when the protocol or the host is empty.
  std::string GetFullURI(bool withUserInfo = true, bool withBookmark = true) const;

  std::string URI;
  std::string Protocol;
  std::string Username;
  std::string Password;
  std::string Host;
  std::string Port;
  std::string Path;
  std::string Document;
  std::string Params;
  std::string Bookmark;
};

// The scheme a URL reference begins with, read as RFC 3986 reads it: a letter, then letters,
// digits, "+", "-" or ".", ended by ":" ("javascript:x" has one, "/a:b" and "?a:b" have none).
// Empty for a reference without one.
std::string ReferenceScheme(const std::string& reference);

}  // namespace pelmorix
