#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pelmorix {

// The lines of a header list, with a gap of unused places at the last edit. An edit moves the
// gap to its place and fills it, so a run of edits that walks along the list (a head rewritten
// from top to bottom) moves each line once in all, not once per edit.
class THeaderLineStore {
 public:
  size_t Size() const { return lines_.size() - gapLength_; }
  const std::string& operator[](size_t index) const { return lines_[Place(index)]; }
  std::string& operator[](size_t index) { return lines_[Place(index)]; }

  // Replaces the lines [first, end) with the pieces, in order.
  void Replace(size_t first, size_t end, std::vector<std::string>&& pieces);
  void Append(std::string line);
  void Clear();
  // The lines without the gap, in one array.
  const std::vector<std::string>& Packed() const;

 private:
  size_t Place(size_t index) const { return index < gapStart_ ? index : index + gapLength_; }
  void MoveGapTo(size_t index) const;
  void WidenGap(size_t length);

  // Mutable so that a const list can hand out its lines in one array.
  mutable std::vector<std::string> lines_;
  mutable size_t gapStart_ = 0;
  mutable size_t gapLength_ = 0;
};

}  // namespace pelmorix
