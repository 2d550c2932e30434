#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "http/tcp_client.h"
#include "tests/support/scripted_server.h"

namespace pelmorix {
namespace {

// n lines of 12 bytes each, CR LF ended, as a line-based reply sends them.
std::string LinesOf(int64_t n) {
  std::string text;
  text.reserve(static_cast<size_t>(n) * 12);
  char line[16];
  for (int64_t i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "row=%06lld\r\n", static_cast<long long>(i % 1000000));
    text += line;
  }
  return text;
}

// Every line of a loopback peer that sends n short lines and closes, read one by one. The
// connect and the peer's start are not timed; the transfer is, as ReceiveLine waits for it.
void BM_ReceiveLineShortLines(benchmark::State& state) {
  const std::string text = LinesOf(state.range(0));
  TIdSocketLayer layer;
  TIdTCPClient client(layer);
  client.SetHost("127.0.0.1");
  client.SetReadTimeout(10000);
  for (auto _ : state) {
    state.PauseTiming();
    auto server = std::make_unique<TScriptedServer>(
        std::vector<TConnectionScript>{TConnectionScript().Send(text).Close()});
    client.SetPort(server->Port());
    client.OpenConnection(0);  // on this thread: the worker's 125 ms slices would dwarf the reads
    state.ResumeTiming();
    for (int64_t i = 0; i < state.range(0); ++i) benchmark::DoNotOptimize(client.ReceiveLine());
    state.PauseTiming();
    client.CloseConnection();
    server.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReceiveLineShortLines)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace pelmorix
