#include "sources/text/GbkText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Bytes taken by the character that starts at byte index i: a byte of 0x80 or
// above leads a double-byte character, unless it is the very last byte.
inline std::size_t CharWidth(std::string_view text, std::size_t i) {
  return (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
}

inline char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool MatchesAt(std::string_view text, std::size_t i, std::string_view sub, bool ignoreCase) {
  if (text.size() - i < sub.size()) return false;
  // Most candidates differ in their second byte: test it before calling memcmp.
  if (!ignoreCase) {
    return sub.size() < 2 || (text[i + 1] == sub[1] && std::memcmp(text.data() + i, sub.data(), sub.size()) == 0);
  }
  for (std::size_t k = 0; k < sub.size(); ++k) {
    if (FoldAscii(text[i + k]) != FoldAscii(sub[k])) return false;
  }
  return true;
}

// Whether byte index at starts a character, given that index boundary (at or
// before it) does. A byte below 0x80 always ends a character: it is either one
// by itself or the trail of a double-byte one. So the byte after it starts a
// character, and from there to at every byte is 0x80 or above; such bytes pair
// up as lead and trail, so at starts a character when their count is even.
// This looks back only over the run of high bytes, where walking forward from
// the boundary would step over every character in between.
inline bool StartsCharacter(std::string_view text, std::size_t boundary, std::size_t at) {
  std::size_t highBytes = 0;
  while (at - highBytes > boundary && static_cast<unsigned char>(text[at - highBytes - 1]) >= 0x80) ++highBytes;
  return highBytes % 2 == 0;
}

// Index of the first character boundary at or after byte index from where sub
// begins, or npos; boundary (at or before from) is known to start a character,
// so that a trail byte is never taken for the start of a match. The fast path
// jumps with memchr to candidates and checks only them.
std::size_t FindFrom(std::string_view text, std::string_view sub, std::size_t boundary,
                     std::size_t from, bool ignoreCase) {
  if (sub.empty() || sub.size() > text.size()) return std::string_view::npos;
  const std::size_t last = text.size() - sub.size();
  // A trail byte at from: the character after it is the first to look at.
  std::size_t i = (from > boundary && !StartsCharacter(text, boundary, from)) ? from + 1 : from;
  if (ignoreCase) {
    for (; i <= last; i += CharWidth(text, i)) {
      if (MatchesAt(text, i, sub, true)) return i;
    }
    return std::string_view::npos;
  }
  const char first = sub[0];
  while (i <= last) {
    const void* hit = std::memchr(text.data() + i, first, last - i + 1);
    if (hit == nullptr) return std::string_view::npos;
    const std::size_t candidate = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (!StartsCharacter(text, i, candidate)) {
      i = candidate + 1;  // a trail byte: the next character starts after it
      continue;
    }
    if (MatchesAt(text, candidate, sub, false)) return candidate;
    i = candidate + CharWidth(text, candidate);
  }
  return std::string_view::npos;
}

}  // namespace

int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

int FindText(std::string_view text, std::string_view sub, int start, bool ignoreCase) {
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start) > text.size()) return -1;
  const std::size_t at = FindFrom(text, sub, 0, static_cast<std::size_t>(start - 1), ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

int FindTextReverse(std::string_view text, std::string_view sub, std::optional<int> before,
                    bool ignoreCase) {
  std::size_t limit = text.size();
  if (before) {
    if (*before <= 1) return -1;
    limit = std::min(limit, static_cast<std::size_t>(*before - 1));
  }
  const std::string_view window = text.substr(0, limit);
  // One forward pass that keeps the last occurrence. Boundaries inside the
  // window are the text's own, since the window is a prefix.
  int found = -1;
  std::size_t i = 0;
  while (true) {
    const std::size_t at = FindFrom(window, sub, i, i, ignoreCase);
    if (at == std::string_view::npos) break;
    found = static_cast<int>(at) + 1;
    i = at + CharWidth(window, at);
  }
  return found;
}

std::string MidText(std::string_view text, int start, int count) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) return {};
  return std::string(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::string LeftText(std::string_view text, int n) {
  if (n <= 0) return {};
  return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string RightText(std::string_view text, int n) {
  if (n <= 0) return {};
  const std::size_t k = std::min(text.size(), static_cast<std::size_t>(n));
  return std::string(text.substr(text.size() - k));
}

void SplitTextViews(std::string_view text, std::string_view delimiter, std::optional<int> maxCount,
                    std::vector<std::string_view>& members) {
  members.clear();
  if (text.empty() || (maxCount && *maxCount <= 0)) return;
  if (delimiter.empty()) {
    members.push_back(text);
    return;
  }
  std::size_t pieceStart = 0;
  while (true) {
    const std::size_t at = FindFrom(text, delimiter, pieceStart, pieceStart, false);
    if (at == std::string_view::npos) break;
    members.push_back(text.substr(pieceStart, at - pieceStart));
    if (maxCount && static_cast<int>(members.size()) >= *maxCount) return;
    pieceStart = at + delimiter.size();
  }
  if (pieceStart < text.size()) members.push_back(text.substr(pieceStart));
}

TextArray SplitText(std::string_view text, std::string_view delimiter, std::optional<int> maxCount) {
  // The views first, so that the array of texts is allocated once: growing it
  // step by step would move every member again and again on big lists.
  std::vector<std::string_view> views;
  SplitTextViews(text, delimiter, maxCount, views);
  return TextArray(views.begin(), views.end());
}

std::string ReplaceSubtext(std::string_view text, std::string_view sub, std::string_view replacement,
                           bool caseSensitive) {
  if (text.empty() || sub.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size());
  std::size_t copied = 0;
  while (true) {
    const std::size_t at = FindFrom(text, sub, copied, copied, !caseSensitive);
    if (at == std::string_view::npos) break;
    result.append(text.substr(copied, at - copied));
    result.append(replacement);
    copied = at + sub.size();
  }
  result.append(text.substr(copied));
  return result;
}

std::string RemoveAllSpaces(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharWidth(text, i);
    const bool asciiSpace = text[i] == ' ';
    const bool fullWidthSpace = width == 2 && static_cast<unsigned char>(text[i]) == 0xA1 &&
                                static_cast<unsigned char>(text[i + 1]) == 0xA1;
    if (!asciiSpace && !fullWidthSpace) result.append(text.substr(i, width));
    i += width;
  }
  return result;
}

bool IsBlank(std::string_view text) { return RemoveAllSpaces(text).empty(); }

std::string NumberToText(int value) { return std::to_string(value); }

std::string NumberToText(long long value) { return std::to_string(value); }

std::string NumberToText(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.13g", value);
  return buffer;
}

std::string BytesToText(std::string_view bytes) {
  const std::size_t zero = bytes.find('\0');
  return std::string(zero == std::string_view::npos ? bytes : bytes.substr(0, zero));
}

std::string_view TextBetweenView(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                                 int mode) {
  int a = -1;
  int b = -1;
  const int startLength = TextLength(startMarker);
  switch (mode) {
    case 0:
      a = FindText(text, startMarker);
      b = FindTextReverse(text, endMarker);
      break;
    case 1:
      a = FindText(text, startMarker);
      if (a != -1) b = FindText(text, endMarker, a + startLength);
      break;
    case 2:
      b = FindTextReverse(text, endMarker);
      if (b != -1) a = FindTextReverse(text, startMarker, b);
      break;
    case 3:
      a = FindTextReverse(text, startMarker);
      if (a != -1) b = FindText(text, endMarker, a + startLength);
      break;
    default:
      return {};
  }
  if (a == -1 || b == -1) return {};
  const int s = a + startLength;
  if (b <= s) return {};
  // MidText's cut: s lies within the text, since b does.
  return text.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(b - s));
}

std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                        int mode) {
  return std::string(TextBetweenView(text, startMarker, endMarker, mode));
}

std::string TextAfterLast(std::string_view text, std::string_view marker) {
  if (FindText(text, marker) == -1) return {};
  const int p = FindTextReverse(text, marker);
  return RightText(text, TextLength(text) - (p + TextLength(marker) - 1));
}
