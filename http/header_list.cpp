#include "http/header_list.h"

#include <stdexcept>

#include "base/text.h"
#include "http/header_folding.h"

namespace pelmorix {
namespace {

bool IsContinuation(const std::string& line) {
  return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

void TrimRightInPlace(std::string& text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
}

}  // namespace

const std::string& TIdHeaderList::operator[](int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("TIdHeaderList::operator[]");
  return lines_[static_cast<size_t>(index)];
}

void TIdHeaderList::Add(std::string line) { lines_.Append(std::move(line)); }

void TIdHeaderList::AddStrings(const TIdHeaderList& other) {
  for (int i = 0; i < other.Count(); ++i) Add(other[i]);
}

void TIdHeaderList::Insert(int index, std::string line) {
  if (index < 0 || index > Count()) throw std::out_of_range("TIdHeaderList::Insert");
  std::vector<std::string> pieces;
  pieces.push_back(std::move(line));
  const auto at = static_cast<size_t>(index);
  lines_.Replace(at, at, std::move(pieces));
  ChangedFrom(at);
}

void TIdHeaderList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TIdHeaderList::Delete");
  const auto at = static_cast<size_t>(index);
  lines_.Replace(at, at + 1, {});
  ChangedFrom(at);
}

void TIdHeaderList::Clear() {
  lines_.Clear();
  ChangedFrom(0);
}

int TIdHeaderList::FindIndexed(const std::string& upperName) const {
  const auto found = firstLineOfName_.find(upperName);
  if (found != firstLineOfName_.end()) return static_cast<int>(found->second);
  while (indexedLines_ < lines_.Size()) {
    const size_t index = indexedLines_++;
    const std::string& line = lines_[index];
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = UpperCase(std::string_view(line).substr(0, colon));
    if (!firstLineOfName_.emplace(name, index).second) continue;  // not its first line
    const bool wanted = name == upperName;
    indexedNames_.push_back(std::move(name));
    if (wanted) return static_cast<int>(index);
  }
  return -1;
}

void TIdHeaderList::ChangedFrom(size_t index) const {
  if (index >= indexedLines_) return;
  indexedLines_ = index;
  while (!indexedNames_.empty()) {
    const auto entry = firstLineOfName_.find(indexedNames_.back());
    if (entry->second < index) break;
    firstLineOfName_.erase(entry);
    indexedNames_.pop_back();
  }
}

std::string TIdHeaderList::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.Size(); ++i) text.append(lines_[i]).append("\r\n");
  return text;
}

std::string TIdHeaderList::NameOfLine(int index) const {
  const std::string& line = (*this)[index];
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return "";
  return UpperCase(std::string_view(line).substr(0, colon));
}

std::string TIdHeaderList::ValueOfLine(int index) const {
  if (index < 0 || index >= Count()) return "";
  const std::string& line = lines_[static_cast<size_t>(index)];
  const size_t colon = line.find(':');
  // A line without a name is all value.
  std::string value =
      TrimLeft(std::string_view(line).substr(colon == std::string::npos ? 0 : colon + 1));
  if (UnfoldLines) {
    // Appending in place keeps a value of many continuation lines linear in its length.
    const size_t end = EndOfContinuation(static_cast<size_t>(index));
    for (size_t next = static_cast<size_t>(index) + 1; next < end; ++next) {
      TrimRightInPlace(value);
      value += ' ';
      value += Trim(lines_[next]);
    }
  }
  return Trim(value);
}

bool TIdHeaderList::NameMatches(const std::string& line, const std::string& name) const {
  if (line.size() <= name.size() || line[name.size()] != ':') return false;
  const std::string_view lineName(line.data(), name.size());
  if (lineName.find(':') != std::string_view::npos) return false;
  return CaseSensitive ? lineName == name : SameText(lineName, name);
}

int TIdHeaderList::IndexOfHeader(const std::string& name) const {
  if (CaseSensitive) {
    for (size_t i = 0; i < lines_.Size(); ++i) {
      if (NameMatches(lines_[i], name)) return static_cast<int>(i);
    }
    return -1;
  }
  return FindIndexed(UpperCase(name));
}

std::string TIdHeaderList::ValueOf(const std::string& name) const {
  return ValueOfLine(IndexOfHeader(name));
}

void TIdHeaderList::ValuesOf(const std::string& name, std::vector<std::string>& values) const {
  for (size_t i = 0; i < lines_.Size(); ++i) {
    if (NameMatches(lines_[i], name)) values.push_back(ValueOfLine(static_cast<int>(i)));
  }
}

size_t TIdHeaderList::EndOfContinuation(size_t index) const {
  size_t end = index + 1;
  while (end < lines_.Size() && IsContinuation(lines_[end])) ++end;
  return end;
}

void TIdHeaderList::SetValue(const std::string& name, const std::string& value) {
  const int found = IndexOfHeader(name);
  const auto first = static_cast<size_t>(found);
  if (value.empty()) {
    if (found < 0) return;
    const size_t end = FoldLines ? EndOfContinuation(first) : first + 1;
    lines_.Replace(first, end, {});
    ChangedFrom(first);
    return;
  }
  std::string line = name + NameValueSeparator + value;
  std::vector<std::string> pieces;
  if (FoldLines) {
    pieces = FoldLine(line, FoldLength);
  } else {
    pieces.push_back(std::move(line));
  }
  if (found < 0) {
    for (std::string& piece : pieces) Add(std::move(piece));
    return;
  }
  const size_t end = FoldLines ? EndOfContinuation(first) : first + 1;
  if (pieces.size() == 1 && end == first + 1) {
    const std::string upperName = UpperCase(name);
    lines_[first] = std::move(pieces[0]);
    // The same name in the same place keeps its entry; a separator without a ":", or a name
    // with one, gives the line another name.
    if (NameOfLine(found) != upperName) ChangedFrom(first);
    return;
  }
  lines_.Replace(first, end, std::move(pieces));
  ChangedFrom(first);
}

}  // namespace pelmorix
