// The six page cutters on generated pages in each site's markup (BenchPages),
// at two sizes: bytes per second give the throughput, and the two sizes show
// whether the time grows linearly with the page.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchPages.h"

namespace {

void CutPageBenchmark(benchmark::State& state, const BenchSite& site) {
  const int rows = static_cast<int>(state.range(0));
  const std::string page = site.make(rows);
  for (auto _ : state) {
    const CutPage cut = site.cut(page);
    if (cut.rows.size() != static_cast<std::size_t>(rows)) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(cut.rows.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  state.counters["rows"] = rows;
}

const bool kRegistered = [] {
  for (const BenchSite& site : BenchSites()) {
    benchmark::RegisterBenchmark(("Cut_" + std::string(site.name)).c_str(), CutPageBenchmark, site)
        ->Arg(kBenchSmallRows)
        ->Arg(kBenchLargeRows)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
