#include "web/RequestHandoff.h"

#include <gtest/gtest.h>

namespace {

HandoffRequest SampleRequest() {
  return {"http://abc/x", "POST", "127.0.0.1:8080", "user", "pass", "X-A: 1\r\n", std::string("a\0b", 3)};
}

TEST(RequestHandoff, TheWorkerTakesTheRequestFormAndLeavesTheRecordEmpty) {
  RequestHandoff handoff;
  handoff.WriteRequest(SampleRequest());
  EXPECT_FALSE(handoff.TakeResult().has_value());
  const auto request = handoff.TakeRequest();
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->url, "http://abc/x");
  EXPECT_EQ(request->verb, "POST");
  EXPECT_EQ(request->proxy, "127.0.0.1:8080");
  EXPECT_EQ(request->userName, "user");
  EXPECT_EQ(request->password, "pass");
  EXPECT_EQ(request->extraHeaders, "X-A: 1\r\n");
  EXPECT_EQ(request->body, std::string("a\0b", 3));
  EXPECT_TRUE(handoff.IsEmpty());
  EXPECT_FALSE(handoff.TakeRequest().has_value());
  EXPECT_FALSE(handoff.TakeResult().has_value());
}

TEST(RequestHandoff, TheFrontReadsOnlyAResultForm) {
  RequestHandoff handoff;
  EXPECT_FALSE(handoff.TakeResult().has_value());
  handoff.WriteResult("HTTP/1.1 200 OK\r\n", std::string("x\0y", 3));
  EXPECT_FALSE(handoff.TakeRequest().has_value());
  EXPECT_FALSE(handoff.IsEmpty());  // a result is not mistaken for a request
  const auto result = handoff.TakeResult();
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->headers, "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(result->body, std::string("x\0y", 3));
  EXPECT_TRUE(handoff.IsEmpty());
}

}  // namespace
