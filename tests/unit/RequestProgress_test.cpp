#include "web/RequestProgress.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<int> PercentagesOfReads(long long blocks, int reads) {
  ReadProgress progress(blocks);
  std::vector<int> reported;
  for (int i = 0; i < reads; ++i) {
    if (const auto percent = progress.CountRead()) reported.push_back(*percent);
  }
  return reported;
}

TEST(EstimateBlocks, ContentLengthOver512AtLeast100) {
  EXPECT_EQ(EstimateBlocks("HTTP/1.1 200 OK\r\n\r\n"), 100);
  EXPECT_EQ(EstimateBlocks("Content-Length: 51711\r\n"), 100);
  EXPECT_EQ(EstimateBlocks("Content-Length: 51712\r\n"), 101);
  EXPECT_EQ(EstimateBlocks("content-length: 1048576\r\n"), 2048);
  EXPECT_EQ(EstimateBlocks("Content-Length: lots\r\n"), 100);
  EXPECT_EQ(EstimateBlocks("Content-Length: -99999999\r\n"), 100);
  EXPECT_EQ(EstimateBlocks("Content-Length: 1048576"), 100);  // line not ended
}

TEST(ProgressPercent, WithOneHundredBlocksThePercentageIsTheReadCount) {
  for (int n = 1; n <= 99; ++n) EXPECT_EQ(ProgressPercent(n, 100), n);
}

TEST(ReadProgress, WithoutALengthThePercentageRunsTo99AndStartsAgain) {
  std::vector<int> expected;
  for (int n = 1; n <= 99; ++n) expected.push_back(n);
  for (int n = 1; n <= 3; ++n) expected.push_back(n);
  EXPECT_EQ(PercentagesOfReads(100, 102), expected);
}

TEST(ReadProgress, WithMoreBlocksItReportsOnlyChangesAndPasses100) {
  const std::vector<int> reported = PercentagesOfReads(200, 404);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.front(), 1);  // after two reads
  EXPECT_EQ(reported.back(), 202);
  for (std::size_t i = 1; i < reported.size(); ++i) EXPECT_EQ(reported[i], reported[i - 1] + 1);
}

std::vector<std::pair<int, int>> reports;
void Record(int percent, int finished) { reports.emplace_back(percent, finished); }

TEST(ProgressReporter, WorkerReportsStopOnceTheFrontHasFinished) {
  reports.clear();
  ProgressReporter reporter(&Record);
  reporter.NotifyProgress(5);
  reporter.NotifyProgress(100);  // a worker at 100 percent has not finished the request
  reporter.NotifyFinished();
  reporter.NotifyProgress(7);
  const std::vector<std::pair<int, int>> expected = {{5, 0}, {100, 0}, {100, 1}};
  EXPECT_EQ(reports, expected);
}

TEST(ProgressReporter, WithoutARoutineNothingHappens) {
  ProgressReporter reporter(nullptr);
  EXPECT_FALSE(reporter.HasRoutine());
  reporter.NotifyProgress(5);
  reporter.NotifyFinished();
}

}  // namespace
