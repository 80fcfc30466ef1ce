// The record through which the front of the timed request and its worker
// exchange request and result: a sequence of values written and read in
// order, opened by a marker. The request form starts with "Tavrick", the result
// form with "Tavrick_OK"; between the two the record is empty.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/WebAccess.h"

struct HandoffRequest {
  std::string url;
  std::string verb;
  std::string proxy;
  std::string userName;
  std::string password;
  std::string extraHeaders;
  std::string body;
};

struct HandoffResult {
  std::string headers;
  ByteArray body;
};

class RequestHandoff {
 public:
  // Replaces the content with the request form.
  void WriteRequest(const HandoffRequest& request);

  // Reads the request form and empties the record. A record that does not
  // start with the request marker gives nothing and is left untouched.
  std::optional<HandoffRequest> TakeRequest();

  // Replaces the content with the result form.
  void WriteResult(std::string headers, ByteArray body);

  // The result form, or nothing when the record does not hold one; a result
  // is taken out, leaving the record empty.
  std::optional<HandoffResult> TakeResult();

  bool IsEmpty() const { return values_.empty(); }

 private:
  std::vector<std::string> values_;
};
