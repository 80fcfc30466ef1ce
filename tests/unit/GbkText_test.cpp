#include "sources/text/GbkText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// GBK characters whose trail byte is an ASCII character that markers use.
const std::string kTrailBar = "\x81\x7C";        // 亅: trail byte '|'
const std::string kTrailBackslash = "\x81\x5C";  // 乗: trail byte '\'
const std::string kTrailA = "\x81\x41";          // 丄: trail byte 'A'
const std::string kTrailBracket = "\x81\x5D";    // 乚: trail byte ']'
const std::string kZhong = "\xD6\xD0";           // 中

struct BetweenCase {
  std::string text, start, end;
  int mode;
  std::string expected;
};

TEST(TextBetween, ChoosesOccurrencesByMode) {
  const BetweenCase cases[] = {
      {"x[1]y[2]z", "[", "]", 0, "1]y[2"},
      {"x[1]y[2]z", "[", "]", 1, "1"},
      {"x[1]y[2]z", "[", "]", 2, "2"},
      {"x[1]y[2]z", "[", "]", 3, "2"},
      {"x[1]y[2]z", "[", "]", 4, ""},
      {"x[1]y[2]z", "[", "]", -1, ""},
      // Start marker missing: empty in every mode, even though the end marker is there.
      {"x1]y2]z", "[", "]", 0, ""},
      {"x1]y2]z", "[", "]", 1, ""},
      {"x1]y2]z", "[", "]", 2, ""},
      {"x1]y2]z", "[", "]", 3, ""},
      // End marker missing.
      {"x[1y[2z", "[", "]", 0, ""},
      {"x[1y[2z", "[", "]", 1, ""},
      {"x[1y[2z", "[", "]", 2, ""},
      {"x[1y[2z", "[", "]", 3, ""},
      // The last end marker lies before the first start marker ends.
      {"]x[", "[", "]", 0, ""},
      // Adjacent markers give empty text.
      {"a[]b", "[", "]", 1, ""},
      // Multi-byte markers; the end is searched only after the start marker.
      {"<td>1.2.3.4</td><td>80</td>", "<td>", "</td>", 1, "1.2.3.4"},
      {"<td>1.2.3.4</td><td>80</td>", "<td>", "</td>", 3, "80"},
      // A trail byte equal to ']' is not an end marker.
      {"[a" + kTrailBracket + "b]", "[", "]", 1, "a" + kTrailBracket + "b"},
      {"", "[", "]", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end, c.mode), c.expected)
        << "text=" << c.text << " mode=" << c.mode;
  }
}

TEST(TextAfterLast, TakesTheTailAfterTheLastMarker) {
  EXPECT_EQ(TextAfterLast("a>b>c", ">"), "c");
  EXPECT_EQ(TextAfterLast("ab>", ">"), "");
  EXPECT_EQ(TextAfterLast("abc", ">"), "");
  EXPECT_EQ(TextAfterLast("<div class=x>CN", ">"), "CN");
  EXPECT_EQ(TextAfterLast("a</b>c</b>d", "</b>"), "d");
}

struct FindCase {
  std::string text, sub;
  int start;
  int expected;
};

TEST(FindText, StepsOverDoubleByteCharacters) {
  const FindCase cases[] = {
      {"abcabc", "bc", 1, 2},
      {"abcabc", "bc", 3, 5},
      {"abcabc", "bc", 0, 2},    // below 1 counts as 1
      {"abcabc", "bc", -7, 2},
      {"abcabc", "bc", 6, -1},
      {"abcabc", "bc", 7, -1},   // past the last byte
      {"abc", "", 1, -1},
      {"", "a", 1, -1},
      {kTrailBar + "|", "|", 1, 3},   // the trail byte is not a '|'
      {kTrailBackslash + "\\", "\\", 1, 3},
      {kTrailA + "A", "A", 1, 3},
      {kZhong + kTrailBar, kTrailBar, 1, 3},
      // A start on a trail byte moves on to the next character.
      {kTrailBar + "|", "|", 2, 3},
      // A lead byte as the very last byte is a character of its own.
      {"ab\x81", "\x81", 1, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.text, c.sub, c.start), c.expected) << c.text << " / " << c.sub << " @" << c.start;
  }
  EXPECT_EQ(FindText("xxABC", "abc", 1, true), 3);
  EXPECT_EQ(FindText("xxABC", "abc", 1, false), -1);
  EXPECT_EQ(FindText("Referer: x\r\nreferer: y", "REFERER: ", 2, true), 13);
}

TEST(FindTextReverse, FindsTheLastOccurrenceWithinTheLimit) {
  EXPECT_EQ(FindTextReverse("abcabc", "bc"), 5);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 7), 5);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 6), 2);  // must lie wholly within the first 5 bytes
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 4), 2);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 3), -1);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 1), -1);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 0), -1);
  EXPECT_EQ(FindTextReverse("abcabc", "bc", 1000), 5);
  EXPECT_EQ(FindTextReverse("aaa", "aa"), 2);
  EXPECT_EQ(FindTextReverse("|" + kTrailBar, "|"), 1);
  EXPECT_EQ(FindTextReverse("xABxab", "ab", std::nullopt, true), 5);
}

TEST(Cutting, WorksOnBytesWithEdgeValues) {
  EXPECT_EQ(MidText("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MidText("abcdef", 5, 10), "ef");
  EXPECT_EQ(MidText("abcdef", 0, 2), "");
  EXPECT_EQ(MidText("abcdef", 7, 1), "");
  EXPECT_EQ(MidText("abcdef", 1, 0), "");
  EXPECT_EQ(MidText("abcdef", 1, -1), "");
  EXPECT_EQ(MidText(kZhong, 2, 1), "\xD0");  // cuts inside a character
  EXPECT_EQ(LeftText("abc", 2), "ab");
  EXPECT_EQ(LeftText("abc", 9), "abc");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(LeftText("abc", -2), "");
  EXPECT_EQ(RightText("abc", 2), "bc");
  EXPECT_EQ(RightText("abc", 9), "abc");
  EXPECT_EQ(RightText("abc", 0), "");
  EXPECT_EQ(RightText("abc", -1), "");
  EXPECT_EQ(TextLength(kZhong + "a"), 3);
}

struct SplitCase {
  std::string text, delimiter;
  std::optional<int> maxCount;
  TextArray expected;
};

TEST(SplitText, EmitsMembersAtEveryDelimiter) {
  const SplitCase cases[] = {
      {"a||b|", "|", std::nullopt, {"a", "", "b"}},
      {"", "|", std::nullopt, {}},
      {"abc", "|", std::nullopt, {"abc"}},
      {"|a", "|", std::nullopt, {"", "a"}},
      {"a|b|c|d", "|", 2, {"a", "b"}},
      {"a|b", "|", 5, {"a", "b"}},
      {"a|b", "|", 0, {}},
      {"a|b", "|", -1, {}},
      {"a|b", "", std::nullopt, {"a|b"}},
      {"1.2.3.4:80\r\n5.6.7.8:3128", "\r\n", std::nullopt, {"1.2.3.4:80", "5.6.7.8:3128"}},
      {"a\r\n\r\nb\r\n", "\r\n", std::nullopt, {"a", "", "b"}},
      // A trail byte equal to the delimiter does not split.
      {"x" + kTrailBar + "y|z", "|", std::nullopt, {"x" + kTrailBar + "y", "z"}},
      {"a|b|c", "|", 3, {"a", "b", "c"}},  // the maximum is not reached: the tail is a member
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.maxCount), c.expected) << c.text;
  }
}

TEST(ReplaceSubtext, ReplacesEveryOccurrenceWithoutRescanning) {
  EXPECT_EQ(ReplaceSubtext("aaa", "aa", "b", true), "ba");
  EXPECT_EQ(ReplaceSubtext("a+d+b", "+d", "0", true), "a0+b");
  EXPECT_EQ(ReplaceSubtext("xx", "x", "xx", true), "xxxx");
  EXPECT_EQ(ReplaceSubtext("", "x", "y", true), "");
  EXPECT_EQ(ReplaceSubtext("abc", "", "y", true), "abc");
  EXPECT_EQ(ReplaceSubtext("aBc", "b", "-", true), "aBc");
  EXPECT_EQ(ReplaceSubtext("aBc", "b", "-", false), "a-c");
  EXPECT_EQ(ReplaceSubtext(kTrailBar + "|", "|", ",", true), kTrailBar + ",");
  EXPECT_EQ(ReplaceSubtext(kTrailBackslash + "\\x", "\\", "/", true), kTrailBackslash + "/x");
}

TEST(Spaces, RemovesAsciiAndFullWidthSpacesOnly) {
  EXPECT_EQ(RemoveAllSpaces(" a \xA1\xA1 b\t\r\n"), "ab\t\r\n");
  // A1 A1 straddling two characters is not a full-width space.
  EXPECT_EQ(RemoveAllSpaces("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank("  \xA1\xA1 "));
  EXPECT_FALSE(IsBlank(" \t "));
  EXPECT_FALSE(IsBlank(" x "));
}

TEST(NumberToText, FormatsIntegersAndReals) {
  EXPECT_EQ(NumberToText(3.0), "3");
  EXPECT_EQ(NumberToText(-12), "-12");
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(2.5), "2.5");
  EXPECT_EQ(NumberToText(1.0 / 3.0), "0.3333333333333");
  EXPECT_EQ(NumberToText(123456789012345LL), "123456789012345");
}

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(BytesToText(std::string("a\0b", 3)), "a");
  EXPECT_EQ(BytesToText(std::string("\0b", 2)), "");
  EXPECT_EQ(BytesToText("abc"), "abc");
  EXPECT_EQ(BytesToText(""), "");
}

// Every operation is safe on any bytes: a lead byte at the very end, lone
// trail-looking bytes, markers longer than the text.
TEST(TextOperations, AreSafeOnAwkwardBytes) {
  const std::string awkward[] = {"\x81", "a\xFF", "\xFF\xFF\xFF", std::string("\0\x81", 2), "\x80|"};
  for (const auto& text : awkward) {
    for (int mode = 0; mode < 4; ++mode) (void)TextBetween(text, "\xFF", "|", mode);
    (void)SplitText(text, "\xFF");
    (void)ReplaceSubtext(text, "\xFF", "x", true);
    (void)FindTextReverse(text, "|");
    (void)TextAfterLast(text, "|");
    (void)RemoveAllSpaces(text);
    (void)FindText(text, "long marker that does not fit");
  }
  EXPECT_EQ(FindText("\x80|", "|"), -1);  // '|' is the trail byte of 0x80
  EXPECT_EQ(SplitText("a\x81", "\x81"), TextArray({"a"}));
}

}  // namespace
