#include <benchmark/benchmark.h>

#include <string>

#include "http/cookie_manager.h"
#include "http/uri.h"

namespace pelmorix {
namespace {

const char* const kHost = "www.example.com";

// The i-th cookie of a store: paths alternate between "/" and "/starter/", every tenth one
// carries an expiry date far ahead.
std::string CookieText(int64_t i) {
  std::string text = "name" + std::to_string(i) + "=value" + std::to_string(i);
  text += i % 2 == 0 ? "; path=/" : "; path=/starter/";
  if (i % 10 == 0) text += "; expires=Thu, 01 Jan 2099 00:00:00 GMT";
  return text;
}

void FillStore(TIdCookieManager& manager, int64_t count) {
  for (int64_t i = 0; i < count; ++i) manager.AddCookie(CookieText(i), kHost);
}

// The "Cookie" text of a request that every one of n stored cookies applies to.
void BM_CookieTextForRequest(benchmark::State& state) {
  TIdCookieManager manager;
  FillStore(manager, state.range(0));
  const TIdURI url("http://www.example.com/starter/index.php?action=getpage");
  for (auto _ : state) benchmark::DoNotOptimize(manager.CookieTextFor(url, false));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CookieTextForRequest)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

// n cookies stored under n different paths: every index entry is matched against the request.
void BM_CookieTextManyPaths(benchmark::State& state) {
  TIdCookieManager manager;
  for (int64_t i = 0; i < state.range(0); ++i) {
    manager.AddCookie("c=v; path=/p" + std::to_string(i) + "/", kHost);
  }
  const TIdURI url("http://www.example.com/p1/index.php");
  for (auto _ : state) benchmark::DoNotOptimize(manager.CookieTextFor(url, false));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CookieTextManyPaths)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

// A reply that sets n cookies into an empty store.
void BM_AddCookies(benchmark::State& state) {
  for (auto _ : state) {
    TIdCookieManager manager;
    FillStore(manager, state.range(0));
    benchmark::DoNotOptimize(manager.Cookies().Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddCookies)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

// A reply that deletes each of n stored cookies with an expiry in the past, as a log-out does.
void BM_DeleteCookies(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TIdCookieManager manager;
    FillStore(manager, state.range(0));
    state.ResumeTiming();
    for (int64_t i = 0; i < state.range(0); ++i) {
      manager.AddCookie("name" + std::to_string(i) + "=; path=" + (i % 2 == 0 ? "/" : "/starter/") +
                            "; expires=Thu, 01 Jan 1970 00:00:00 GMT",
                        kHost);
    }
    benchmark::DoNotOptimize(manager.Cookies().Count());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DeleteCookies)->RangeMultiplier(4)->Range(16, 4096)->Complexity(benchmark::oN);

}  // namespace
}  // namespace pelmorix
