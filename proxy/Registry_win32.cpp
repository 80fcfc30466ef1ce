#include "proxy/Registry_win32.h"

#include <string>

#include "app/Gbk_win32.h"
#include "proxy/RegistryPath.h"

namespace {

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }

  // Opens the key for writing; when it cannot be opened, creates it with its
  // missing parents.
  bool OpenOrCreate(HKEY root, const std::wstring& path) {
    if (Open(root, path)) return true;
    return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key_,
                           nullptr) == ERROR_SUCCESS;
  }

  bool Open(HKEY root, const std::wstring& path) {
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_WRITE, &key_) == ERROR_SUCCESS;
  }

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool SetValue(HKEY root, std::string_view itemPath, DWORD type, const BYTE* data, DWORD size) {
  const RegistryItemPath split = SplitRegistryItemPath(itemPath);
  RegistryKey key;
  if (!key.OpenOrCreate(root, GbkToWide(split.keyPath))) return false;
  const std::wstring name = GbkToWide(split.valueName);
  return RegSetValueExW(key.get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

}  // namespace

bool WriteRegistryItem(HKEY root, std::string_view itemPath, DWORD value) {
  const BYTE bytes[4] = {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF),
                         static_cast<BYTE>((value >> 16) & 0xFF), static_cast<BYTE>((value >> 24) & 0xFF)};
  return SetValue(root, itemPath, REG_DWORD, bytes, sizeof bytes);
}

bool WriteRegistryItem(HKEY root, std::string_view itemPath, std::string_view text) {
  // RegSetValueExW counts bytes, NUL included.
  const std::wstring wide = GbkToWide(text);
  const auto size = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return SetValue(root, itemPath, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()), size);
}

bool DeleteRegistryItem(HKEY root, std::string_view itemPath) {
  const RegistryItemPath split = SplitRegistryItemPath(itemPath);
  {
    RegistryKey key;
    if (key.Open(root, GbkToWide(split.keyPath))) {
      const std::wstring name = GbkToWide(split.valueName);
      if (RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS) return true;
    }
  }
  // RegDeleteKeyW removes only a key without subkeys.
  return RegDeleteKeyW(root, GbkToWide(itemPath).c_str()) == ERROR_SUCCESS;
}
