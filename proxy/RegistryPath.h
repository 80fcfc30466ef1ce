// Splitting a full registry item path ("key\\path\\ValueName") into the key
// path below the root and the value name.
#pragma once

#include <string>
#include <string_view>

struct RegistryItemPath {
  std::string keyPath;    // empty: the value sits directly under the root
  std::string valueName;
};

// Splits at the last backslash. The scan steps over GBK double-byte characters
// as units, so a trail byte that happens to equal '\\' (0x5C) never splits.
RegistryItemPath SplitRegistryItemPath(std::string_view itemPath);
