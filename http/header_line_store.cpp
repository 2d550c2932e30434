#include "http/header_line_store.h"

#include <algorithm>
#include <iterator>

namespace pelmorix {

void THeaderLineStore::MoveGapTo(size_t index) const {
  const auto begin = lines_.begin();
  if (gapLength_ == 0) {
    // Nothing to move, and a line moved onto itself would lose its text.
  } else if (index < gapStart_) {
    std::move_backward(begin + static_cast<std::ptrdiff_t>(index),
                       begin + static_cast<std::ptrdiff_t>(gapStart_),
                       begin + static_cast<std::ptrdiff_t>(gapStart_ + gapLength_));
  } else if (index > gapStart_) {
    std::move(begin + static_cast<std::ptrdiff_t>(gapStart_ + gapLength_),
              begin + static_cast<std::ptrdiff_t>(index + gapLength_),
              begin + static_cast<std::ptrdiff_t>(gapStart_));
  }
  gapStart_ = index;
}

void THeaderLineStore::WidenGap(size_t length) {
  if (gapLength_ >= length) return;
  // Widening in proportion to the list keeps the moves it costs constant per line.
  const size_t added = length - gapLength_ + Size() / 2 + 4;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(gapStart_ + gapLength_), added,
                std::string());
  gapLength_ += added;
}

void THeaderLineStore::Replace(size_t first, size_t end, std::vector<std::string>&& pieces) {
  MoveGapTo(end);
  for (size_t i = first; i < end; ++i) lines_[i] = std::string();
  gapStart_ = first;
  gapLength_ += end - first;
  WidenGap(pieces.size());
  for (std::string& piece : pieces) {
    lines_[gapStart_++] = std::move(piece);
    --gapLength_;
  }
}

void THeaderLineStore::Append(std::string line) {
  if (gapLength_ == 0) {
    lines_.push_back(std::move(line));
    return;
  }
  MoveGapTo(Size());
  lines_[gapStart_++] = std::move(line);
  --gapLength_;
}

void THeaderLineStore::Clear() {
  lines_.clear();
  gapStart_ = 0;
  gapLength_ = 0;
}

const std::vector<std::string>& THeaderLineStore::Packed() const {
  if (gapLength_ > 0) {
    MoveGapTo(Size());
    lines_.resize(Size());
    gapLength_ = 0;
  }
  return lines_;
}

}  // namespace pelmorix
