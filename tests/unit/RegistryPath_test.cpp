#include "proxy/RegistryPath.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
  const char* name;
  std::string itemPath;
  std::string keyPath;
  std::string valueName;
};

class RegistryPathSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(RegistryPathSplit, SplitsAtLastBackslash) {
  const SplitCase& c = GetParam();
  const RegistryItemPath split = SplitRegistryItemPath(c.itemPath);
  EXPECT_EQ(split.keyPath, c.keyPath);
  EXPECT_EQ(split.valueName, c.valueName);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryPathSplit,
    testing::Values(
        SplitCase{"InternetSettingsValue",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ProxyEnable",
                  "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "ProxyEnable"},
        SplitCase{"NoBackslashIsValueUnderRoot", "ProxyServer", "", "ProxyServer"},
        SplitCase{"EmptyPath", "", "", ""},
        SplitCase{"TrailingBackslashGivesEmptyName", "Key\\", "Key", ""},
        SplitCase{"LeadingBackslash", "\\Name", "", "Name"},
        // 0x81 0x5C is one GBK character whose trail byte equals '\'.
        SplitCase{"TrailByteBackslashIgnored", "Key\\A\x81\x5C" "B", "Key", "A\x81\x5C" "B"},
        SplitCase{"TrailByteBackslashOnlyOne", "Name\x81\x5C", "", "Name\x81\x5C"},
        // A lead byte at the very end has no trail byte and stays a byte of its own.
        SplitCase{"LeadByteAtEnd", "Key\\Name\x81", "Key", "Name\x81"},
        SplitCase{"ChineseKeyName", "\xB4\xFA\xC0\xED\\\xB7\xFE\xCE\xF1", "\xB4\xFA\xC0\xED",
                  "\xB7\xFE\xCE\xF1"}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

}  // namespace
