#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "http/internet_date.h"

namespace pelmorix {
namespace {

const char* const kDateForms[] = {
    "Sun, 06 Nov 1994 08:49:37 GMT",
    "Sunday, 06-Nov-94 08:49:37 GMT",
    "Sun Nov  6 08:49:37 1994",
    "Thu, 01 Jan 2032 23:59:59 +0100",
};

// n date texts of the forms servers send, read one after the other.
void BM_ParseInternetDates(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int64_t i = 0; i < state.range(0); ++i) texts.emplace_back(kDateForms[i % 4]);
  for (auto _ : state) {
    for (const std::string& text : texts) {
      std::string rest = text;
      benchmark::DoNotOptimize(ParseInternetDate(rest));
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseInternetDates)
    ->RangeMultiplier(4)
    ->Range(16, 16 << 10)
    ->Complexity(benchmark::oN);

// One date whose zone rest is n characters long: the reader must not rescan the rest per field.
void BM_ParseInternetDateLongRest(benchmark::State& state) {
  const std::string text =
      "Sun, 06 Nov 1994 08:49:37 GMT" + std::string(static_cast<size_t>(state.range(0)), 'z');
  for (auto _ : state) {
    std::string rest = text;
    benchmark::DoNotOptimize(ParseInternetDate(rest));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseInternetDateLongRest)
    ->RangeMultiplier(4)
    ->Range(64, 1 << 20)
    ->Complexity(benchmark::oN);

void BM_InternetDateToLocal(benchmark::State& state) {
  std::vector<std::string> texts;
  for (int64_t i = 0; i < state.range(0); ++i) texts.emplace_back(kDateForms[i % 4]);
  const TDateTime offset = LocalOffsetFromUTC();
  for (auto _ : state) {
    for (const std::string& text : texts)
      benchmark::DoNotOptimize(InternetDateToLocal(text, offset));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InternetDateToLocal)
    ->RangeMultiplier(4)
    ->Range(16, 16 << 10)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace pelmorix
