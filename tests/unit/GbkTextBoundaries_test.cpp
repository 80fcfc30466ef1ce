// The searches tell where a character starts without walking every character
// from the start of the text (they look back over the bytes of 0x80 and above
// before a candidate). Checked against the plain walk on every short text over
// an alphabet of one lead byte and two ASCII bytes, where lead bytes run
// together in every way a trail byte can be mistaken for a start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources/text/GbkText.h"

namespace {

// Byte indexes where a character starts, walking from the first byte.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size();) {
    starts.push_back(i);
    i += (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
  }
  return starts;
}

bool At(const std::string& text, std::size_t i, const std::string& sub) {
  return i + sub.size() <= text.size() && text.compare(i, sub.size(), sub) == 0;
}

int WalkFind(const std::string& text, const std::string& sub, int start) {
  for (const std::size_t i : CharacterStarts(text)) {
    if (static_cast<int>(i) + 1 >= start && At(text, i, sub)) return static_cast<int>(i) + 1;
  }
  return -1;
}

int WalkFindReverse(const std::string& text, const std::string& sub, std::size_t limit) {
  int found = -1;
  for (const std::size_t i : CharacterStarts(text)) {
    if (i + sub.size() <= limit && At(text, i, sub)) found = static_cast<int>(i) + 1;
  }
  return found;
}

// Scans character by character; after an occurrence the scan goes on with the
// byte after it, as a character start.
std::string WalkReplace(const std::string& text, const std::string& sub, const std::string& replacement) {
  std::string result;
  for (std::size_t i = 0; i < text.size();) {
    if (At(text, i, sub)) {
      result += replacement;
      i += sub.size();
    } else {
      const std::size_t width = (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
      result.append(text, i, width);
      i += width;
    }
  }
  return result;
}

std::vector<std::string> AllTexts(const std::string& alphabet, std::size_t maxLength) {
  std::vector<std::string> texts = {""};
  for (std::size_t begin = 0, length = 1; length <= maxLength; ++length) {
    const std::size_t end = texts.size();
    for (std::size_t t = begin; t < end; ++t) {
      for (const char c : alphabet) texts.push_back(texts[t] + c);
    }
    begin = end;
  }
  return texts;
}

TEST(GbkTextBoundaries, SearchesAgreeWithTheCharacterWalk) {
  const std::string alphabet = "a+\xB0";
  const std::vector<std::string> subs = AllTexts(alphabet, 2);
  for (const std::string& text : AllTexts(alphabet, 7)) {
    const int length = static_cast<int>(text.size());
    for (const std::string& sub : subs) {
      if (sub.empty()) continue;
      for (int start = 1; start <= length; ++start)
        ASSERT_EQ(WalkFind(text, sub, start), FindText(text, sub, start)) << text << " / " << sub << " @" << start;
      ASSERT_EQ(WalkFindReverse(text, sub, text.size()), FindTextReverse(text, sub)) << text << " / " << sub;
      for (int before = 2; before <= length + 1; ++before)
        ASSERT_EQ(WalkFindReverse(text, sub, static_cast<std::size_t>(before - 1)), FindTextReverse(text, sub, before))
            << text << " / " << sub << " before " << before;
      ASSERT_EQ(WalkReplace(text, sub, "|"), ReplaceSubtext(text, sub, "|")) << text << " / " << sub;
    }
  }
}

}  // namespace
