#include <benchmark/benchmark.h>

#include <string>

#include "launcher/button_table.h"
#include "launcher/page_directives.h"

namespace pelmorix {
namespace {

const char kFiller[] =
    "<div class=\"news\"><p>Neue Turniere jeden Abend, alle Tische offen.</p>"
    "<a href=\"index.php?action=news&amp;page=2\">mehr</a></div>\n";

// A start page of about n bytes: the installation id near the top, one row block in every
// kilobyte of markup when blocksThroughout is set, else the blocks at the end only.
std::string PageOfSize(int64_t n, bool blocksThroughout) {
  std::string page = "<html><head><title>Start</title></head><body><!-- id=205 -->\n";
  int block = 0;
  while (static_cast<int64_t>(page.size()) < n) {
    page += kFiller;
    if (blocksThroughout && page.size() % 1024 < sizeof kFiller) {
      page += "<span>[" + std::to_string(block % 12 + 1) + "|20|150|3|120x40|Spielen|x|1]</span>";
      ++block;
    }
  }
  for (int row = 1; row <= 12; ++row) {
    page += "<span>[" + std::to_string(row) + "|20|150|3|120x40|Spielen|x|1]</span>";
  }
  return page + "</body></html>";
}

void RunPage(benchmark::State& state, bool blocksThroughout) {
  const std::string page = PageOfSize(state.range(0), blocksThroughout);
  TButtonTable table;
  int32_t installationId = 0;
  for (auto _ : state) {
    ReadPageDirectives(page, installationId, table);
    benchmark::DoNotOptimize(table[3].Mode.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(page.size()));
  state.SetComplexityN(state.range(0));
}

void BM_ReadPageDirectivesBlocksAtEnd(benchmark::State& state) { RunPage(state, false); }
BENCHMARK(BM_ReadPageDirectivesBlocksAtEnd)
    ->RangeMultiplier(4)
    ->Range(10 << 10, 10 << 20)
    ->Complexity(benchmark::oN);

void BM_ReadPageDirectivesBlocksThroughout(benchmark::State& state) { RunPage(state, true); }
BENCHMARK(BM_ReadPageDirectivesBlocksThroughout)
    ->RangeMultiplier(4)
    ->Range(10 << 10, 10 << 20)
    ->Complexity(benchmark::oN);

// One row text of n characters split into a row: only the first 255 of each field are kept.
void BM_SplitIntoRecordLongText(benchmark::State& state) {
  std::string text;
  for (int field = 0; field < 10; ++field) {
    text += std::string(static_cast<size_t>(state.range(0)) / 10, 'a') + "|";
  }
  TButtonTable table;
  for (auto _ : state) {
    SplitIntoRecord(table, text, 3);
    benchmark::DoNotOptimize(table[3].Key.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitIntoRecordLongText)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace pelmorix
