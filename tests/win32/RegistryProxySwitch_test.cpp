// The system proxy switch against the real registry (the test prefix's own
// under Wine), read back with the registry API.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "proxy/RegistryProxySwitch_win32.h"
#include "proxy/Registry_win32.h"

namespace {

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

std::optional<RawValue> ReadValue(HKEY root, const std::wstring& key, const wchar_t* name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  RawValue value;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(handle, name, nullptr, &value.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    value.bytes.resize(size);
    status = RegQueryValueExW(handle, name, nullptr, &value.type, value.bytes.data(), &size);
    value.bytes.resize(size);
  }
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::vector<BYTE> WideBytesWithNul(const std::wstring& text) {
  const auto* begin = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(begin, begin + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<std::wstring> ValueNames(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(handle);
  return names;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

const std::vector<BYTE> kDwordOne{1, 0, 0, 0};
const std::vector<BYTE> kDwordZero{0, 0, 0, 0};

// A scratch tree below HKCU, removed again afterwards; the switch works on
// its "Internet Settings" subkey, which does not exist at the start.
class RegistrySwitch : public testing::Test {
 protected:
  RegistrySwitch()
      : base_(L"Software\\ProxySwitcherTests\\" + std::to_wstring(GetCurrentProcessId())),
        key_(base_ + L"\\Parent\\Internet Settings"),
        proxySwitch_(HKEY_CURRENT_USER, "Software\\ProxySwitcherTests\\" + std::to_string(GetCurrentProcessId()) +
                                            "\\Parent\\Internet Settings") {}
  ~RegistrySwitch() override { RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str()); }

  std::optional<RawValue> Value(const wchar_t* name) const { return ReadValue(HKEY_CURRENT_USER, key_, name); }

  void Prepare(const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(handle);
  }

  std::wstring base_;
  std::wstring key_;
  RegistryProxySwitch proxySwitch_;
};

struct SetCase {
  const char* name;
  std::string proxy;  // GBK
  std::wstring stored;
};

class RegistrySwitchSet : public RegistrySwitch, public testing::WithParamInterface<SetCase> {};

TEST_P(RegistrySwitchSet, WritesEnableAndServerCreatingTheKey) {
  ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, key_));
  proxySwitch_.SetSystemProxy(GetParam().proxy);

  const auto enable = Value(L"ProxyEnable");
  ASSERT_TRUE(enable);
  EXPECT_EQ(enable->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(enable->bytes, kDwordOne);
  const auto server = Value(L"ProxyServer");
  ASSERT_TRUE(server);
  EXPECT_EQ(server->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(server->bytes, WideBytesWithNul(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RegistrySwitchSet,
    testing::Values(SetCase{"AddressAndPort", "127.0.0.1:8080", L"127.0.0.1:8080"},
                    SetCase{"OnlyColon", ":", L":"},
                    SetCase{"EmptyIsSingleNul", "", L""},
                    SetCase{"BlanksKept", " 1.2.3.4:80 ", L" 1.2.3.4:80 "},
                    // 代理:1 in GBK goes through code page 936, whatever the ANSI code page is.
                    SetCase{"GbkText", "\xB4\xFA\xC0\xED:1", L"\x4EE3\x7406:1"}),
    [](const testing::TestParamInfo<SetCase>& info) { return std::string(info.param.name); });

TEST_F(RegistrySwitch, ClearAfterSetDisablesAndDeletesServer) {
  proxySwitch_.SetSystemProxy("1.2.3.4:80");
  proxySwitch_.ClearSystemProxy();
  const auto enable = Value(L"ProxyEnable");
  ASSERT_TRUE(enable);
  EXPECT_EQ(enable->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(enable->bytes, kDwordZero);
  EXPECT_FALSE(Value(L"ProxyServer"));
}

TEST_F(RegistrySwitch, ClearTwiceLeavesTheSameState) {
  proxySwitch_.SetSystemProxy("1.2.3.4:80");
  proxySwitch_.ClearSystemProxy();
  const auto namesOnce = ValueNames(HKEY_CURRENT_USER, key_);
  proxySwitch_.ClearSystemProxy();
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, key_), namesOnce);
  EXPECT_EQ(Value(L"ProxyEnable")->bytes, kDwordZero);
  EXPECT_FALSE(Value(L"ProxyServer"));
}

TEST_F(RegistrySwitch, ClearOnAbsentKeyCreatesItWithEnableZero) {
  ASSERT_FALSE(KeyExists(HKEY_CURRENT_USER, key_));
  proxySwitch_.ClearSystemProxy();
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, key_), (std::vector<std::wstring>{L"ProxyEnable"}));
  EXPECT_EQ(Value(L"ProxyEnable")->bytes, kDwordZero);
}

TEST_F(RegistrySwitch, OtherValuesOfTheKeyStayUntouched) {
  const std::vector<BYTE> override = WideBytesWithNul(L"<local>");
  const std::vector<BYTE> migrate{7, 0, 0, 0};
  Prepare(L"ProxyOverride", REG_SZ, override);
  Prepare(L"MigrateProxy", REG_DWORD, migrate);

  proxySwitch_.SetSystemProxy("1.2.3.4:80");
  proxySwitch_.ClearSystemProxy();

  EXPECT_EQ(Value(L"ProxyOverride")->bytes, override);
  EXPECT_EQ(Value(L"MigrateProxy")->bytes, migrate);
  EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, key_).size(), 3u);
}

TEST_F(RegistrySwitch, DeleteFallsBackToSubkeyOfThatName) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\ProxyServer").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &handle, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(handle);
  const std::string itemPath =
      "Software\\ProxySwitcherTests\\" + std::to_string(GetCurrentProcessId()) + "\\Parent\\Internet Settings\\ProxyServer";
  EXPECT_TRUE(DeleteRegistryItem(HKEY_CURRENT_USER, itemPath));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key_ + L"\\ProxyServer"));
  EXPECT_FALSE(DeleteRegistryItem(HKEY_CURRENT_USER, itemPath));
}

TEST_F(RegistrySwitch, DwordIsLittleEndian) {
  const std::string itemPath =
      "Software\\ProxySwitcherTests\\" + std::to_string(GetCurrentProcessId()) + "\\Parent\\Internet Settings\\V";
  EXPECT_TRUE(WriteRegistryItem(HKEY_CURRENT_USER, itemPath, DWORD{0x12345678}));
  EXPECT_EQ(Value(L"V")->bytes, (std::vector<BYTE>{0x78, 0x56, 0x34, 0x12}));
}

// The switch the program uses, on the test prefix's own Internet Settings.
TEST(RegistryInternetSettings, ProgramSwitchSetsAndClears) {
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  TheSystemProxySwitch().SetSystemProxy("127.0.0.1:3128");
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"ProxyEnable")->bytes, kDwordOne);
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"ProxyServer")->bytes, WideBytesWithNul(L"127.0.0.1:3128"));
  TheSystemProxySwitch().ClearSystemProxy();
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key, L"ProxyEnable")->bytes, kDwordZero);
  EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, key, L"ProxyServer"));
}

}  // namespace
