#include "web/Redirects.h"

#include <gtest/gtest.h>

namespace {

TEST(NextHop, RedirectStatusesDecideTheNextVerb) {
  struct Case {
    int status;
    const char* verb;
    bool redirect;
    const char* nextVerb;
    bool keepBody;
  };
  const Case cases[] = {
      {301, "GET", true, "GET", true},   {302, "get", true, "get", true},  {302, "", true, "", true},
      {301, "POST", true, "GET", false}, {302, "post", true, "GET", false}, {303, "POST", true, "GET", false},
      {303, "GET", true, "GET", false},  {307, "POST", true, "POST", true}, {308, "post", true, "post", true},
      {200, "GET", false, "", false},    {304, "GET", false, "", false},    {300, "GET", false, "", false},
      {404, "POST", false, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.status) + " " + c.verb);
    const std::optional<RedirectHop> hop = NextHop(c.status, c.verb);
    ASSERT_EQ(hop.has_value(), c.redirect);
    if (!hop) continue;
    EXPECT_EQ(hop->verb, c.nextVerb);
    EXPECT_EQ(hop->keepBody, c.keepBody);
  }
}

}  // namespace
