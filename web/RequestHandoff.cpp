#include "web/RequestHandoff.h"

#include <utility>

namespace {

constexpr std::string_view kRequestMarker = "Tavrick";
constexpr std::string_view kResultMarker = "Tavrick_OK";
constexpr std::size_t kRequestValues = 8;
constexpr std::size_t kResultValues = 3;

}  // namespace

void RequestHandoff::WriteRequest(const HandoffRequest& request) {
  values_ = {std::string(kRequestMarker), request.url,      request.verb,         request.proxy,
             request.userName,            request.password, request.extraHeaders, request.body};
}

std::optional<HandoffRequest> RequestHandoff::TakeRequest() {
  if (values_.size() != kRequestValues || values_[0] != kRequestMarker) return std::nullopt;
  HandoffRequest request{std::move(values_[1]), std::move(values_[2]), std::move(values_[3]),
                         std::move(values_[4]), std::move(values_[5]), std::move(values_[6]),
                         std::move(values_[7])};
  values_.clear();
  return request;
}

void RequestHandoff::WriteResult(std::string headers, ByteArray body) {
  values_.clear();
  values_.push_back(std::string(kResultMarker));
  values_.push_back(std::move(headers));
  values_.push_back(std::move(body));
}

std::optional<HandoffResult> RequestHandoff::TakeResult() {
  if (values_.size() != kResultValues || values_[0] != kResultMarker) return std::nullopt;
  HandoffResult result{std::move(values_[1]), std::move(values_[2])};
  values_.clear();
  return result;
}
