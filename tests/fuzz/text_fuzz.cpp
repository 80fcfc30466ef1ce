// The text operations on random texts, markers and modes, with the properties
// that must hold whatever the bytes.
#include <cstdlib>

#include "sources/text/GbkText.h"
#include "FuzzInput.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsSubstring(const std::string& part, const std::string& whole) {
  return part.empty() || whole.find(part) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const int mode = input.Small(6) - 1;  // -1 .. 4: outside and inside 0..3
  const int number = input.Small(40) - 8;
  const std::string a = input.Piece();
  const std::string b = input.Piece();
  const std::string text = input.Rest();

  const std::string between = TextBetween(text, a, b, mode);
  Check(IsSubstring(between, text));
  Check(IsSubstring(TextAfterLast(text, a), text));

  const int found = FindText(text, a, number);
  if (found != -1) {
    Check(found >= 1 && found >= number && text.compare(static_cast<std::size_t>(found - 1), a.size(), a) == 0);
    Check(FindTextReverse(text, a) >= found);
  }
  const int last = FindTextReverse(text, a, number);
  if (last != -1) Check(text.compare(static_cast<std::size_t>(last - 1), a.size(), a) == 0);

  // Without a maximum, the members joined with the delimiter give the text
  // back, short of one delimiter at the very end.
  const TextArray members = SplitText(text, a);
  if (!a.empty() && !text.empty()) {
    std::string joined;
    for (std::size_t i = 0; i < members.size(); ++i) {
      if (i > 0) joined += a;
      joined += members[i];
    }
    Check(joined == text || joined + a == text);
  }
  if (number > 0) Check(SplitText(text, a, number).size() <= static_cast<std::size_t>(number));

  Check(ReplaceSubtext(text, a, a, true) == text);
  (void)ReplaceSubtext(text, a, b, false);
  Check(RemoveAllSpaces(text).size() <= text.size());
  (void)MidText(text, number, number * 3);
  (void)LeftText(text, number);
  (void)RightText(text, number);
  (void)NumberToText(static_cast<double>(number) / 7.0);
  Check(BytesToText(text).size() <= text.size());
  return 0;
}
