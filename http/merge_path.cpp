#include "http/merge_path.h"

namespace pelmorix {
namespace {

// Removes the last segment of the result (a ".." was found after it).
void DropLastSegment(std::string& result) {
  if (!result.empty()) result.pop_back();  // the "/" that ends the segment
  while (!result.empty() && result.back() != '/') result.pop_back();
}

// Only a whole ".." segment climbs; a name such as "..z" is kept.
bool IsParentSegment(const std::string& work, size_t i) {
  return work.compare(i, 2, "..") == 0 && (i + 2 == work.size() || work[i + 2] == '/');
}

}  // namespace

std::string MergePath(const std::string& base, const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  const bool keepTrail = path.empty() || path.back() == '/';
  std::string work = base;
  if (!work.empty() && work.back() != '/') work += '/';
  work += path;

  std::string result;
  result.reserve(work.size());
  for (size_t i = 0; i < work.size(); ++i) {
    const char c = work[i];
    if (c == '/') {
      if (i == 0) {
        result.assign(1, '/');
      } else if (result.empty() || result.back() != '/') {
        result += '/';
      }
    } else if (c == '.' && !result.empty() && result.back() == '/' && IsParentSegment(work, i)) {
      DropLastSegment(result);
      ++i;
    } else {
      result += c;
    }
  }
  if (result != "/" && !result.empty() && result.back() == '/' && !keepTrail) result.pop_back();
  return result;
}

}  // namespace pelmorix
