// proxy_bench [--write-pages=FOLDER] [Google Benchmark options]
//
// --write-pages writes the generated pages that the cutter benchmarks cut into
// FOLDER and exits, so that another program can time the very same bytes.
#include <benchmark/benchmark.h>

#include <string_view>

#include "BenchPages.h"

int main(int argc, char** argv) {
  constexpr std::string_view kWritePages = "--write-pages=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.substr(0, kWritePages.size()) == kWritePages) {
      return WriteBenchPages(std::string(argument.substr(kWritePages.size()))) ? 0 : 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
