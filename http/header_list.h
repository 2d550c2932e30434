#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "http/header_line_store.h"

namespace pelmorix {

// The ordered header lines of a request or reply: one header or one continuation line each.
// A line's name ends at its first ":"; lines that begin with a space or a TAB continue the line
// before them.
class TIdHeaderList {
 public:
  static constexpr int kDefaultFoldLength = 78;

  explicit TIdHeaderList(int foldLength = kDefaultFoldLength) : FoldLength(foldLength) {}

  // Settings. The separator is written between name and value by SetValue.
  std::string NameValueSeparator = ": ";
  bool CaseSensitive = false;
  bool UnfoldLines = true;
  bool FoldLines = true;
  int FoldLength;

  int Count() const { return static_cast<int>(lines_.Size()); }
  const std::string& operator[](int index) const;
  const std::vector<std::string>& Lines() const { return lines_.Packed(); }
  void Add(std::string line);
  void AddStrings(const TIdHeaderList& other);
  void Insert(int index, std::string line);
  void Delete(int index);
  void Clear();
  // All lines, each followed by CR LF.
  std::string Text() const;

  // The line's name upper-cased, up to and without its first ":"; empty without a ":".
  std::string NameOfLine(int index) const;
  // The text after the name and its ":", joined with the continuation lines that follow
  // (when unfolding is on) and trimmed; empty for an index outside the list.
  std::string ValueOfLine(int index) const;
  // The first line whose name equals the given one (ignoring case unless CaseSensitive); -1.
  int IndexOfHeader(const std::string& name) const;
  std::string ValueOf(const std::string& name) const;
  // Appends the value of every line of that name, in line order.
  void ValuesOf(const std::string& name, std::vector<std::string>& values) const;
  // Replaces the first line of that name (and its continuation lines) in place, or appends one;
  // an empty value removes the line.
  void SetValue(const std::string& name, const std::string& value);

 private:
  bool NameMatches(const std::string& line, const std::string& name) const;
  // Index one past the continuation lines that follow the given line.
  size_t EndOfContinuation(size_t index) const;
  // Looks a name up in the lines indexed so far, extending the index line by line as needed.
  int FindIndexed(const std::string& upperName) const;
  // Lines from this one on moved or changed: their names leave the index, to be read again by
  // the next lookup that needs them. Lines before it keep their entries.
  void ChangedFrom(size_t index) const;

  THeaderLineStore lines_;
  // Upper-cased name -> its first line, for the lines [0, indexedLines_). A change drops only
  // the entries at or after the changed line, so writing the lines of a head one after the
  // other costs a constant amount per write. Not safe for concurrent readers.
  mutable std::unordered_map<std::string, size_t> firstLineOfName_;
  // The names of firstLineOfName_ by ascending line.
  mutable std::vector<std::string> indexedNames_;
  mutable size_t indexedLines_ = 0;
};

}  // namespace pelmorix
