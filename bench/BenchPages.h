// Generated proxy-list pages in the markup of each of the six sites, large
// enough to time the page cutters. The pages are GBK bytes and deterministic:
// the same site and row count always give the same bytes, so a page written to
// a file (WriteBenchPages) is exactly the page the benchmarks cut.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sources/PageCutters.h"

struct BenchSite {
  std::string_view name;  // file name stem, e.g. "5u"
  std::string_view extension;
  std::string (*make)(int rows);
  CutPage (*cut)(std::string_view page);
};

const std::vector<BenchSite>& BenchSites();

// The row counts the benchmarks and the reference use.
inline constexpr int kBenchSmallRows = 5000;
inline constexpr int kBenchLargeRows = 50000;

// "<name>-<rows>.<extension>".
std::string BenchPageFileName(const BenchSite& site, int rows);

// Writes every site's page at both row counts into folder (created when
// missing). Returns false, after saying why on stderr, when a file cannot be
// written.
bool WriteBenchPages(const std::string& folder);
