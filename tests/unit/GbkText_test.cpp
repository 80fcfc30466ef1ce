#include "sources/text/GbkText.h"

#include <gtest/gtest.h>

TEST(TextBetween, Smoke) { EXPECT_EQ(TextBetween("x[1]y[2]z", "[", "]", 1), "1"); }
