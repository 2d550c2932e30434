#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/text.h"
#include "http/cookie.h"

namespace pelmorix {

// An unsorted list of keyed entries in the order they were added, looked up by key ignoring
// case in constant time. A removed entry leaves an empty place that the walks skip; the places
// are packed away once they outnumber the entries, so removing one costs a constant amount.
template <typename T>
class TIdKeyedList {
 public:
  struct Entry {
    std::string Key;
    std::string UpperKey;
    T Object;
    bool Removed = false;
  };

  int Count() const { return static_cast<int>(index_.size()); }
  bool IsEmpty() const { return index_.empty(); }

  // The object of the first entry with that key, or null.
  T* Find(const std::string& key) {
    const auto found = index_.find(UpperCase(key));
    return found == index_.end() ? nullptr : &entries_[found->second].Object;
  }

  T& Add(const std::string& key, T object) {
    std::string upper = UpperCase(key);
    index_.emplace(upper, entries_.size());
    entries_.push_back({key, std::move(upper), std::move(object)});
    return entries_.back().Object;
  }

  // Removes the first entry with that key, if any; the others keep their order.
  void Remove(const std::string& key) {
    const auto found = index_.find(UpperCase(key));
    if (found == index_.end()) return;
    Entry& entry = entries_[found->second];
    entry.Removed = true;
    entry.Object = T();
    index_.erase(found);
    if (entries_.size() > 2 * index_.size() + 16) Pack();
  }

  // Visits the entries in the order they were added, or the other way round.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const Entry& entry : entries_) {
      if (!entry.Removed) visit(entry);
    }
  }
  template <typename Visit>
  void ForEachBackward(Visit visit) const {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
      if (!entry->Removed) visit(*entry);
    }
  }

 private:
  void Pack() {
    std::erase_if(entries_, [](const Entry& entry) { return entry.Removed; });
    index_.clear();
    // The first entry of a key is the one found, as when the entries were added.
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].UpperKey, i);
  }

  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> index_;
};

// The cookies of one domain and path, by name, in the order the names were first added.
class TIdCookieList : public TIdKeyedList<TIdNetscapeCookie*> {};

// Owns every cookie of a store, in the order they were added. Removing one costs a constant
// amount; the places it leaves are packed away by the next look at a cookie by number.
class TIdCookies {
 public:
  int Count() const { return static_cast<int>(places_.size()); }
  TIdNetscapeCookie& operator[](int index);
  TIdNetscapeCookie& Add(std::unique_ptr<TIdNetscapeCookie> cookie);
  // Frees the cookie.
  void Remove(const TIdNetscapeCookie* cookie);

 private:
  void Pack();

  std::vector<std::unique_ptr<TIdNetscapeCookie>> cookies_;  // null where one was removed
  std::unordered_map<const TIdNetscapeCookie*, size_t> places_;
};

}  // namespace pelmorix
