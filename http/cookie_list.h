#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/text.h"
#include "http/cookie.h"

namespace pelmorix {

// An unsorted list of keyed entries in the order they were added, looked up by key ignoring
// case in constant time.
template <typename T>
class TIdKeyedList {
 public:
  struct Entry {
    std::string Key;
    std::string UpperKey;
    T Object;
  };

  int Count() const { return static_cast<int>(entries_.size()); }
  bool IsEmpty() const { return entries_.empty(); }
  Entry& operator[](int index) { return entries_.at(static_cast<size_t>(index)); }
  const Entry& operator[](int index) const { return entries_.at(static_cast<size_t>(index)); }

  // The first entry with that key, or -1.
  int IndexOf(const std::string& key) const {
    const auto found = index_.find(UpperCase(key));
    return found == index_.end() ? -1 : static_cast<int>(found->second);
  }

  T& Add(const std::string& key, T object) {
    std::string upper = UpperCase(key);
    index_.emplace(upper, entries_.size());
    entries_.push_back({key, std::move(upper), std::move(object)});
    return entries_.back().Object;
  }

  // Removes every entry the predicate picks; the others keep their order.
  template <typename Predicate>
  void RemoveIf(Predicate pick) {
    if (std::erase_if(entries_, [&](Entry& entry) { return pick(entry.Object); }) == 0) return;
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].UpperKey, i);
  }

 private:
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;
};

// The cookies of one domain and path, by name, in the order the names were first added.
class TIdCookieList : public TIdKeyedList<TIdNetscapeCookie*> {};

// Owns every cookie of a store.
class TIdCookies {
 public:
  int Count() const { return static_cast<int>(cookies_.size()); }
  TIdNetscapeCookie& operator[](int index) { return *cookies_.at(static_cast<size_t>(index)); }
  TIdNetscapeCookie& Add(std::unique_ptr<TIdNetscapeCookie> cookie);
  // Frees the cookies the predicate picks.
  template <typename Predicate>
  void RemoveIf(Predicate pick) {
    std::erase_if(cookies_, [&](const std::unique_ptr<TIdNetscapeCookie>& c) { return pick(*c); });
  }

 private:
  std::vector<std::unique_ptr<TIdNetscapeCookie>> cookies_;
};

}  // namespace pelmorix
