#pragma once

#include <string>
#include <vector>

namespace pelmorix {

// The pieces of a cookie text after its first one: "NAME=value" with the name upper-cased, or
// a flag such as "SECURE" upper-cased whole. Names are looked up ignoring case.
class TCookieAttributes {
 public:
  void Add(const std::string& piece);
  // The value of the first attribute of that name; empty when there is none.
  std::string Value(const std::string& name) const;
  // Whether a piece without "=" reads as the flag.
  bool HasFlag(const std::string& flag) const;

 private:
  struct Attribute {
    std::string Name;
    std::string Value;
    bool HasValue;
  };
  std::vector<Attribute> attributes_;
};

// Splits a cookie text at ";": the first piece is the cookie (name "=" value), the rest go to
// the attributes. Pieces lose their blanks; a text without ";" is taken as it is.
void SplitCookieText(const std::string& text, std::string& name, std::string& value,
                     TCookieAttributes& attributes);

}  // namespace pelmorix
