// One table for both converters: it runs natively against iconv and under Wine
// against the Windows code-page functions.
#include "web/Utf8ToGbk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ConversionCase {
  const char* name;
  std::string utf8;
  std::string gbk;
};

const ConversionCase kCases[] = {
    {"empty", "", ""},
    {"ascii", "http://127.0.0.1:80/ <b>ok</b>", "http://127.0.0.1:80/ <b>ok</b>"},
    {"chinese", "\xE6\xAD\xA3\xE5\xB8\xB8 \xE8\xB6\x85\xE6\x97\xB6", "\xD5\xFD\xB3\xA3 \xB3\xAC\xCA\xB1"},  // 正常 超时
    {"full-width space and punctuation", "\xE3\x80\x80\xEF\xBC\x81", "\xA1\xA1\xA3\xA1"},
    {"zero byte kept", std::string("a\0b", 3), std::string("a\0b", 3)},
    {"emoji", "ip \xF0\x9F\x98\x80", ""},
    {"euro sign", "5 \xE2\x82\xAC", ""},
    {"private use", "\xEE\x80\x80", ""},
    {"private use at the end of the area", "\xEF\xA3\xB5", ""},
    {"cut-off sequence", "\xE6\xAD\xA3\xE5\xB8", ""},
    {"lone continuation byte", "a\x80" "b", ""},
    {"invalid byte", "a\xFF", ""},
    {"overlong slash", "\xC0\xAF", ""},
    {"encoded surrogate", "\xED\xA0\x80", ""},
    {"above U+10FFFF", "\xF4\x90\x80\x80", ""},
    {"GBK bytes are not UTF-8", "\xD5\xFD\xB3\xA3", ""},
};

TEST(ConvertUtf8ToGbk, AllOrNothing) {
  for (const ConversionCase& c : kCases) {
    EXPECT_EQ(ConvertUtf8ToGbk(c.utf8), c.gbk) << c.name;
  }
}

TEST(ConvertUtf8ToGbk, ALongPageGrowsTheOutput) {
  // Three UTF-8 bytes become two GBK bytes, one byte stays one: the output
  // buffer is resized in both directions on the way.
  std::string utf8;
  std::string gbk;
  for (int i = 0; i < 20000; ++i) {
    utf8 += "\xE6\xAD\xA3" "a";
    gbk += "\xD5\xFD" "a";
  }
  EXPECT_EQ(ConvertUtf8ToGbk(utf8), gbk);
}

}  // namespace
