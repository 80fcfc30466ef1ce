#include "web/UrlParts.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  int port;
  const char* path;
};

const UrlCase kUrlCases[] = {
    {"http://AbC:8080/x/y?z=1", "abc", "abc:8080", 8080, "/x/y?z=1"},
    {"http://abc", "abc", "abc", 80, "/"},
    {"abc/x", "abc", "abc", 80, "/x"},
    {"http://127.0.0.17:8123/ip.php#frag", "127.0.0.17", "127.0.0.17:8123", 8123, "/ip.php#frag"},
    {"http://abc:/x", "abc", "abc:", 0, "/x"},
    {"http://abc:web/x", "abc", "abc:web", 0, "/x"},
    {"http://abc:81.9/", "abc", "abc:81.9", 81, "/"},
    {"http://abc:99999999999/", "abc", "abc:99999999999", INT_MAX, "/"},
    {"http://abc:-5/", "abc", "abc:-5", -5, "/"},
    // A host that also occurs inside the scheme is not taken from there.
    {"http://p/x", "p", "p", 80, "/x"},
    {"http://ttp/index.html", "ttp", "ttp", 80, "/index.html"},
    // The prefix is looked for with its letter case: without it the scheme
    // reads as the host.
    {"HTTP://abc/x", "http", "http:", 0, "//abc/x"},
    {"http://WWW.Example.COM", "www.example.com", "www.example.com", 80, "/"},
    {"", "", "", 80, "/"},
};

TEST(UrlParts, SplitsTheAddressIntoHostPortAndPath) {
  for (const UrlCase& c : kUrlCases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(UrlHost(c.url), c.host);
    EXPECT_EQ(UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

TEST(UrlParts, OnlyAsciiCapitalsAreMadeSmall) {
  // GBK bytes of a Chinese host name stay as they are.
  EXPECT_EQ(UrlHost("http://\xD6\xD0" "Ab.cn/"), "\xD6\xD0" "ab.cn");
}

TEST(HeaderValue, FindsBothMarkersIgnoringCase) {
  const char* block = "HTTP/1.1 200 OK\r\ncontent-length: 1234\r\nServer: x\r\n\r\n";
  EXPECT_EQ(HeaderValue(block, "Content-Length: ", "\r\n"), "1234");
  EXPECT_EQ(HeaderValue(block, "SERVER: ", "\r\n"), "x");
  EXPECT_EQ(HeaderValue("a: b", "a: ", "\r\n"), "");          // no end marker
  EXPECT_EQ(HeaderValue(block, "Set-Cookie: ", "\r\n"), "");  // no start marker
  EXPECT_EQ(HeaderValue("<A>x</a>", "<a>", "</A>"), "x");
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOnly) {
  EXPECT_EQ(LeadingNumber("512"), 512);
  EXPECT_EQ(LeadingNumber("  12abc"), 12);
  EXPECT_EQ(LeadingNumber("-3.5"), -3.5);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
}

}  // namespace
