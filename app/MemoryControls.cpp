#include "app/MemoryControls.h"

#include <algorithm>

namespace {
int ClampProgress(int value) { return std::clamp(value, 0, 32767); }
}  // namespace

void MemoryCaption::SetCaption(std::string_view text) {
  caption_ = text;
  history_.push_back(caption_);
}

void MemoryProgress::SetMaximum(int value) { maximum_ = ClampProgress(value); }

void MemoryProgress::SetPosition(int value) { position_ = ClampProgress(value); }

void MemoryList::DeleteAllRows() {
  rows_.Clear();
  selection_ = -1;
}
