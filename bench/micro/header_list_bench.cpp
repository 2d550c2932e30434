#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "http/header_list.h"

namespace pelmorix {
namespace {

// Words of 70 characters: at the default width of 78 each one ends up on a line of its own,
// so a value of n words folds into n lines.
std::string ValueOfWords(int64_t words) {
  const std::string word(70, 'w');
  std::string value;
  for (int64_t i = 0; i < words; ++i) {
    if (i > 0) value += ' ';
    value += word;
  }
  return value;
}

std::string NameOf(int64_t i) { return "X-Header-" + std::to_string(i); }

void BM_FoldValueIntoLines(benchmark::State& state) {
  const std::string value = ValueOfWords(state.range(0));
  for (auto _ : state) {
    TIdHeaderList list;
    list.SetValue("X-Long", value);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FoldValueIntoLines)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

void BM_UnfoldContinuationLines(benchmark::State& state) {
  TIdHeaderList list;
  list.SetValue("X-Long", ValueOfWords(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(list.ValueOf("x-long"));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UnfoldContinuationLines)
    ->RangeMultiplier(4)
    ->Range(16, 4096)
    ->Complexity(benchmark::oN);

// A head of n distinct header lines written with SetValue, then every one read back by name.
void BM_SetAndReadDistinctHeaders(benchmark::State& state) {
  std::vector<std::string> names;
  for (int64_t i = 0; i < state.range(0); ++i) names.push_back(NameOf(i));
  TIdHeaderList list(1024);
  for (auto _ : state) {
    list.Clear();
    for (const std::string& name : names) list.SetValue(name, "some value, with a comma");
    for (const std::string& name : names) benchmark::DoNotOptimize(list.ValueOf(name));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SetAndReadDistinctHeaders)
    ->RangeMultiplier(4)
    ->Range(16, 4096)
    ->Complexity(benchmark::oN);

// Every header of a head of n lines rewritten with a value that folds differently, so lines
// move after each write.
void BM_RefoldExistingHeaders(benchmark::State& state) {
  std::vector<std::string> names;
  for (int64_t i = 0; i < state.range(0); ++i) names.push_back(NameOf(i));
  const std::string folded = ValueOfWords(2);
  for (auto _ : state) {
    TIdHeaderList list;
    for (const std::string& name : names) list.Add(name + ": short");
    for (const std::string& name : names) list.SetValue(name, folded);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RefoldExistingHeaders)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

// A reply that repeats one header n times, each with a continuation line.
void BM_ValuesOfRepeatedHeader(benchmark::State& state) {
  TIdHeaderList list(1024);
  for (int64_t i = 0; i < state.range(0); ++i) {
    list.Add("Set-Cookie: id" + std::to_string(i) + "=value; path=/");
    list.Add("  ; domain=example.com");
  }
  for (auto _ : state) {
    std::vector<std::string> values;
    list.ValuesOf("set-cookie", values);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ValuesOfRepeatedHeader)
    ->RangeMultiplier(4)
    ->Range(16, 4096)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace pelmorix
