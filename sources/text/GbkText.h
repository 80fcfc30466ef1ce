// Text operations on GBK byte strings.
//
// Positions are 1-based byte positions and lengths are byte counts. Searches
// step through the text character by character: a byte of 0x80 or above starts
// a double-byte character together with the byte after it, so a marker is never
// found starting on a trail byte. Cutting (MidText, LeftText, RightText) works
// on bytes and ignores character boundaries. No operation fails: "not found" is
// -1 or an empty text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

using TextArray = std::vector<std::string>;

int TextLength(std::string_view text);

// First occurrence of sub beginning at or after byte position start; -1 if none.
int FindText(std::string_view text, std::string_view sub, int start = 1, bool ignoreCase = false);

// Last occurrence of sub lying wholly within the first before - 1 bytes (the
// whole text when before is absent); -1 if none.
int FindTextReverse(std::string_view text, std::string_view sub,
                    std::optional<int> before = std::nullopt, bool ignoreCase = false);

std::string MidText(std::string_view text, int start, int count);
std::string LeftText(std::string_view text, int n);
std::string RightText(std::string_view text, int n);

// Splits at every delimiter; a maximum count stops the split (the rest is
// dropped). A non-empty remainder after the last delimiter is a final member.
TextArray SplitText(std::string_view text, std::string_view delimiter,
                    std::optional<int> maxCount = std::nullopt);

// The members SplitText makes, as views into text (valid while text is),
// written into members (emptied first, its room kept): for cutting large pages
// without copying every piece.
void SplitTextViews(std::string_view text, std::string_view delimiter, std::optional<int> maxCount,
                    std::vector<std::string_view>& members);

std::string ReplaceSubtext(std::string_view text, std::string_view sub,
                           std::string_view replacement, bool caseSensitive = true);

// Removes ASCII spaces and full-width spaces (A1 A1).
std::string RemoveAllSpaces(std::string_view text);

// Empty once every ASCII and full-width space is removed.
bool IsBlank(std::string_view text);

std::string NumberToText(int value);
std::string NumberToText(long long value);
std::string NumberToText(double value);  // "%.13g"

// The bytes up to, not including, the first zero byte.
std::string BytesToText(std::string_view bytes);

// Bytes strictly between a start-marker and an end-marker occurrence; mode 0..3
// chooses the occurrences (first/last start, first-after/last end).
std::string TextBetween(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker, int mode);

// TextBetween's result as a view into text (valid while text is): for cutting
// a large part out of a page only to split it further.
std::string_view TextBetweenView(std::string_view text, std::string_view startMarker,
                                 std::string_view endMarker, int mode);

// Everything after the last occurrence of marker; empty when there is none.
std::string TextAfterLast(std::string_view text, std::string_view marker);
