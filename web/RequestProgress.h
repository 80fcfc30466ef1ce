// Progress of the timed request: an estimate of the number of 512-byte reads
// from Content-Length, the percentage after each read, and the reporter that
// hands percentages to the caller's routine.
#pragma once

#include <mutex>
#include <optional>
#include <string_view>

#include "web/WebAccess.h"

inline constexpr int kReadBlockBytes = 512;

// B: the declared Content-Length of headerText over 512, at least 100.
long long EstimateBlocks(std::string_view headerText);

// floor((1 - (B - n) / B) x 100) in double precision, a fraction above
// 0.999999999999 counted as the next whole number (so with B = 100 the result
// is exactly n).
int ProgressPercent(long long reads, long long blocks);

// Counts the reads of one response and says when the percentage changes. With
// B = 100 the percentage runs 1..99 and starts again at 1; with a larger B it
// keeps climbing, past 100 when more reads arrive than estimated.
class ReadProgress {
 public:
  explicit ReadProgress(long long blocks) : blocks_(blocks) {}

  // The new percentage after one more read, or nothing when it is unchanged.
  std::optional<int> CountRead();

 private:
  long long blocks_;
  long long reads_ = 0;
  int lastPercent_ = 0;
};

// The progress channel of one request. Reports from the worker go straight to
// the routine on the worker's thread; once the front has given its final
// report, later worker reports are dropped, so nothing of a request that was
// given up reaches the caller. The routine must not wait for the calling
// thread (it runs under this object's lock).
class ProgressReporter {
 public:
  explicit ProgressReporter(ProgressRoutine routine) : routine_(routine) {}
  ProgressReporter(const ProgressReporter&) = delete;
  ProgressReporter& operator=(const ProgressReporter&) = delete;

  bool HasRoutine() const { return routine_ != nullptr; }

  // A report from the worker: (percent, 0), unless the request has finished.
  void NotifyProgress(int percent);

  // The front's last report, (100, 1); marks the request finished.
  void NotifyFinished();

 private:
  const ProgressRoutine routine_;
  std::mutex lock_;
  bool finished_ = false;
};
