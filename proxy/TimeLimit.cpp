#include "proxy/TimeLimit.h"

#include <climits>
#include <string>

namespace {

// Full-width forms sit in GBK row A3 in ASCII order: A3 B0 is '0', A3 AB '+',
// A3 AD '-'. The full-width blank is A1 A1. Other double-byte characters stay
// as they are and end the number.
std::string FoldFullWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      folded.push_back(text[i]);
      continue;
    }
    if (i + 1 == text.size()) {
      folded.push_back(text[i]);  // a lead byte cut off at the end
      break;
    }
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      folded.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      folded.push_back(' ');
    } else {
      folded.push_back(text[i]);
      folded.push_back(text[i + 1]);
    }
    ++i;
  }
  return folded;
}

bool IsBlankByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

int ParseTimeLimit(std::string_view gbkText) {
  const std::string text = FoldFullWidth(gbkText);
  std::size_t i = 0;
  while (i < text.size() && IsBlankByte(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate towards the sign so INT_MIN is reachable; saturate beyond it.
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    value = value * 10 + (negative ? -digit : digit);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
  }
  return static_cast<int>(value);
}
