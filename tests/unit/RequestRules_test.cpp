#include "web/RequestRules.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr const char* kUrl = "http://abc/x";

TEST(CompleteRequestHeaders, AddsTheThreeLinesAfterTheCallersLines) {
  EXPECT_EQ(CompleteRequestHeaders("X-A: 1\r\n", kUrl),
            std::string("X-A: 1\r\n") + kAcceptLine + "Referer: http://abc/x\r\nAccept-Language: zh-cn\r\n");
}

TEST(CompleteRequestHeaders, KeepsLinesTheCallerAlreadyHasInAnyLetterCase) {
  EXPECT_EQ(CompleteRequestHeaders("referer: x\r\n", kUrl),
            std::string("referer: x\r\n") + kAcceptLine + "Accept-Language: zh-cn\r\n");
  EXPECT_EQ(CompleteRequestHeaders("ACCEPT: */*\r\naccept-language: en\r\n", kUrl),
            "ACCEPT: */*\r\naccept-language: en\r\nReferer: http://abc/x\r\n");
  // "Accept-Language: " alone does not count as an Accept line.
  EXPECT_EQ(CompleteRequestHeaders("Accept-Language: en\r\n", kUrl),
            std::string("Accept-Language: en\r\n") + kAcceptLine + "Referer: http://abc/x\r\n");
}

TEST(CompleteRequestHeaders, TheRefererIsTheAddressExactlyAsPassed) {
  EXPECT_EQ(CompleteRequestHeaders("Accept: a\r\nAccept-Language: b\r\n", "AbC/x?y=1#z"),
            "Accept: a\r\nAccept-Language: b\r\nReferer: AbC/x?y=1#z\r\n");
}

TEST(AddPostHeaders, AddsTypeWhenMissingAndAlwaysTheLength) {
  struct Case {
    const char* headers;
    const char* body;
    const char* expected;
  };
  const Case cases[] = {
      {"", "", ""},
      {"", "a=1", "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n"},
      {"content-type: text/plain\r\n", "abcd", "content-type: text/plain\r\nContent-Length: 4\r\n"},
      {"Content-Length: 9\r\n", "a=1",
       "Content-Length: 9\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n"},
  };
  for (const Case& c : cases) {
    std::string headers = c.headers;
    AddPostHeaders(headers, c.body);
    EXPECT_EQ(headers, c.expected) << c.body;
  }
}

TEST(ClassifyVerb, GetAndPostInAnyCaseOthersUnsupported) {
  EXPECT_EQ(ClassifyVerb(""), RequestVerb::kGet);
  EXPECT_EQ(ClassifyVerb("get"), RequestVerb::kGet);
  EXPECT_EQ(ClassifyVerb("GeT"), RequestVerb::kGet);
  EXPECT_EQ(ClassifyVerb("post"), RequestVerb::kPost);
  EXPECT_EQ(ClassifyVerb("HEAD"), RequestVerb::kUnsupported);
  EXPECT_EQ(ClassifyVerb("GETX"), RequestVerb::kUnsupported);
  EXPECT_EQ(ClassifyVerb(" GET"), RequestVerb::kUnsupported);
}

TEST(TimeLimit, AbsentZeroAndNegativeMeanNinetySeconds) {
  EXPECT_EQ(EffectiveTimeLimitSeconds(std::nullopt), 90);
  EXPECT_EQ(EffectiveTimeLimitSeconds(0), 90);
  EXPECT_EQ(EffectiveTimeLimitSeconds(-1), 90);
  EXPECT_EQ(EffectiveTimeLimitSeconds(10), 10);
}

TEST(TimeLimit, MillisecondsStayBelowTheInfiniteWait) {
  EXPECT_EQ(WaitMilliseconds(10), 10000u);
  EXPECT_EQ(WaitMilliseconds(4294967), 4294967000u);
  EXPECT_EQ(WaitMilliseconds(4294968), 0xFFFFFFFEu);
  EXPECT_EQ(WaitMilliseconds(2147483647), 0xFFFFFFFEu);
}

}  // namespace
