#include "web/CookieLines.h"

#include <gtest/gtest.h>

namespace {

TEST(SplitCookieLines, NameBeforeTheFirstEqualsDataWithItsAttributes) {
  const std::vector<CookieLine> cookies = SplitCookieLines(
      "HTTP/1.1 200 OK\r\n"
      "Set-Cookie: a=b; path=/\r\n"
      "Server: x\r\n"
      "set-cookie: session=x=y; expires=Wed, 01 Jan 2031 00:00:00 GMT\n"
      "SET-COOKIE: flag\r\n"
      "Set-Cookie: last=1");
  const std::vector<CookieLine> expected = {
      {"a", "b; path=/"},
      {"session", "x=y; expires=Wed, 01 Jan 2031 00:00:00 GMT"},
      {"", "flag"},
      {"last", "1"},
  };
  EXPECT_EQ(cookies, expected);
}

TEST(SplitCookieLines, NoCookieLinesNoCookies) {
  EXPECT_TRUE(SplitCookieLines("HTTP/1.1 200 OK\r\nServer: x\r\n\r\n").empty());
  EXPECT_TRUE(SplitCookieLines(std::string(1024, ' ')).empty());
  EXPECT_TRUE(SplitCookieLines("").empty());
}

TEST(SplitCookieLines, TheFirstTwelveBytesGoEvenWhenTheHeaderIsFurtherOn) {
  // Odd but harmless: the line is cut at a fixed place.
  const std::vector<CookieLine> cookies = SplitCookieLines("X-Set-Cookie: a=b\r\n");
  const std::vector<CookieLine> expected = {{": a", "b"}};
  EXPECT_EQ(cookies, expected);
}

}  // namespace
