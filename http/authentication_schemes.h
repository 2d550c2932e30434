#pragma once

#include <memory>
#include <string>
#include <vector>

#include "http/authentication.h"
#include "http/id_exception.h"

namespace pelmorix {

PELMORIX_DECLARE_EXCEPTION(EIdAlreadyRegisteredAuthenticationMethod, EIdException);

// A credential class: its name and how to make one.
struct TIdAuthenticationClass {
  const char* ClassName;
  std::unique_ptr<TIdAuthentication> (*Create)();
};

const TIdAuthenticationClass& BasicAuthenticationClass();

// Maps scheme names ("Basic") to credential classes; names compare ignoring case.
class TIdAuthenticationSchemes {
 public:
  // Raises EIdAlreadyRegisteredAuthenticationMethod for a name that is already registered.
  void Register(const std::string& scheme, const TIdAuthenticationClass& authClass);
  void Unregister(const std::string& scheme);
  // Null for a scheme that is not registered.
  const TIdAuthenticationClass* Find(const std::string& scheme) const;
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string Scheme;
    const TIdAuthenticationClass* Class;
  };
  std::vector<Entry> entries_;
};

// The registry of this process, holding "Basic" from its first use to the end of the program.
TIdAuthenticationSchemes& RegisteredAuthenticationSchemes();

}  // namespace pelmorix
