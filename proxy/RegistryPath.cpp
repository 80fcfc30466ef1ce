#include "proxy/RegistryPath.h"

RegistryItemPath SplitRegistryItemPath(std::string_view itemPath) {
  std::size_t lastBackslash = std::string_view::npos;
  std::size_t i = 0;
  while (i < itemPath.size()) {
    const auto byte = static_cast<unsigned char>(itemPath[i]);
    if (byte >= 0x80 && i + 1 < itemPath.size()) {
      i += 2;  // lead byte and trail byte: one character
      continue;
    }
    if (byte == '\\') lastBackslash = i;
    ++i;
  }
  if (lastBackslash == std::string_view::npos) return {std::string(), std::string(itemPath)};
  return {std::string(itemPath.substr(0, lastBackslash)), std::string(itemPath.substr(lastBackslash + 1))};
}
