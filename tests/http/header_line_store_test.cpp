#include "http/header_line_store.h"

#include <gtest/gtest.h>

#include <random>

namespace pelmorix {
namespace {

// Edits anywhere, of every size, against a plain array doing the same.
TEST(HeaderLineStore, KeepsTheLinesOfAPlainArrayThroughEditsAnywhere) {
  std::mt19937 random(7);
  THeaderLineStore store;
  std::vector<std::string> model;
  for (int step = 0; step < 3000; ++step) {
    if (step % 7 == 0) {
      store.Append("end " + std::to_string(step));
      model.push_back("end " + std::to_string(step));
    }
    const size_t first = random() % (model.size() + 1);
    const size_t end = first + random() % (std::min<size_t>(model.size() - first, 3) + 1);
    std::vector<std::string> pieces;
    for (size_t n = random() % 4; n > 0; --n) pieces.push_back("line " + std::to_string(step));
    model.erase(model.begin() + static_cast<long>(first), model.begin() + static_cast<long>(end));
    model.insert(model.begin() + static_cast<long>(first), pieces.begin(), pieces.end());
    store.Replace(first, end, std::move(pieces));
    ASSERT_EQ(store.Size(), model.size()) << step;
    const size_t probe = model.empty() ? 0 : random() % model.size();
    if (!model.empty()) {
      ASSERT_EQ(store[probe], model[probe]) << step;
    }
    if (step % 100 == 0) {
      ASSERT_EQ(store.Packed(), model) << step;
    }
  }
  EXPECT_EQ(store.Packed(), model);
  store.Clear();
  EXPECT_EQ(store.Size(), 0u);
}

}  // namespace
}  // namespace pelmorix
