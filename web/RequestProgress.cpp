#include "web/RequestProgress.h"

#include <cmath>
#include <limits>

#include "web/UrlParts.h"

namespace {

constexpr long long kMinimumBlocks = 100;

}  // namespace

long long EstimateBlocks(std::string_view headerText) {
  const double length = LeadingNumber(HeaderValue(headerText, "Content-Length: ", "\r\n"));
  const double blocks = std::trunc(length / kReadBlockBytes);
  if (!(blocks > kMinimumBlocks)) return kMinimumBlocks;
  if (blocks >= static_cast<double>(std::numeric_limits<long long>::max() / 2)) {
    return std::numeric_limits<long long>::max() / 2;
  }
  return static_cast<long long>(blocks);
}

int ProgressPercent(long long reads, long long blocks) {
  const double b = static_cast<double>(blocks);
  const double exact = (1.0 - (b - static_cast<double>(reads)) / b) * 100.0;
  double whole = std::floor(exact);
  if (exact - whole > 0.999999999999) whole += 1;
  if (whole >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (whole <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(whole);
}

std::optional<int> ReadProgress::CountRead() {
  ++reads_;
  const int percent = ProgressPercent(reads_, blocks_);
  if (percent == lastPercent_) return std::nullopt;
  lastPercent_ = percent;
  if (reads_ == 99 && blocks_ == kMinimumBlocks) reads_ = 0;
  return percent;
}

void ProgressReporter::NotifyProgress(int percent) {
  if (routine_ == nullptr) return;
  std::lock_guard<std::mutex> guard(lock_);
  if (!finished_) routine_(percent, 0);
}

void ProgressReporter::NotifyFinished() {
  if (routine_ == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(lock_);
    finished_ = true;
  }
  routine_(100, 1);
}
