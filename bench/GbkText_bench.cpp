#include "sources/text/GbkText.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A GBK text dense with matches: short ASCII fields and Chinese characters
// separated by "|", so every operation finds something every few bytes.
std::string DenseText(std::size_t bytes) {
  const std::string unit = "1.2.3.4|8080|\xD6\xD0\xB9\xFA|[ok]|";  // "中国"
  std::string text;
  text.reserve(bytes + unit.size());
  while (text.size() < bytes) text += unit;
  return text;
}

// The marker stands once, at the very end, behind a text full of its first
// byte: every candidate is checked, and each one's character start.
void BM_FindText(benchmark::State& state) {
  const std::string text = DenseText(static_cast<std::size_t>(state.range(0))) + "|end|";
  for (auto _ : state) benchmark::DoNotOptimize(FindText(text, "|end|"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_SplitText(benchmark::State& state) {
  const std::string text = DenseText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(SplitText(text, "|"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_ReplaceSubtext(benchmark::State& state) {
  const std::string text = DenseText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceSubtext(text, "|", "</td><td>"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_FindTextReverse(benchmark::State& state) {
  const std::string text = DenseText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(FindTextReverse(text, "|"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_TextBetween(benchmark::State& state) {
  const std::string text = DenseText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(TextBetween(text, "[", "]", 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

constexpr int64_t kOneMb = 1 << 20;

}  // namespace

BENCHMARK(BM_FindText)->Arg(kOneMb)->Arg(10 * kOneMb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitText)->Arg(kOneMb)->Arg(10 * kOneMb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceSubtext)->Arg(kOneMb)->Arg(10 * kOneMb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindTextReverse)->Arg(kOneMb)->Arg(10 * kOneMb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBetween)->Arg(kOneMb)->Arg(10 * kOneMb)->Unit(benchmark::kMillisecond);
