#include "calc/ComputeEv.h"
#include "calc/TextToDouble.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_TextToDouble_Typical(benchmark::State& state) {
  const std::string text = "124.56";
  for (auto _ : state) benchmark::DoNotOptimize(TextToDouble(text));
}
BENCHMARK(BM_TextToDouble_Typical);

// Long texts: the cost must grow linearly with the length (compare the per-byte rates).
void BM_TextToDouble_LeadingBlanks(benchmark::State& state) {
  const std::string text = std::string(static_cast<std::size_t>(state.range(0)), ' ') + "7";
  for (auto _ : state) benchmark::DoNotOptimize(TextToDouble(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TextToDouble_LeadingBlanks)->Range(1 << 10, 10 << 20);

void BM_TextToDouble_LongFraction(benchmark::State& state) {
  const std::string text = "1." + std::string(static_cast<std::size_t>(state.range(0)), '5');
  for (auto _ : state) benchmark::DoNotOptimize(TextToDouble(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TextToDouble_LongFraction)->Range(1 << 10, 10 << 20);

void BM_ComputeEv_Typical(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ComputeEv("10", "30", "9", "5"));
}
BENCHMARK(BM_ComputeEv_Typical);

void BM_ComputeEv_Empty(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ComputeEv("", "", "", ""));
}
BENCHMARK(BM_ComputeEv_Empty);

}  // namespace

BENCHMARK_MAIN();
