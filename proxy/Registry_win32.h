// Writing and deleting single registry values addressed by a full item path
// ("key\\path\\ValueName", GBK), the way the system proxy switch needs them.
#pragma once

#include <windows.h>

#include <string_view>

// Opens the key for writing, creating it and any missing parents when it
// cannot be opened, and stores value as REG_DWORD (4 bytes, little-endian).
// True exactly when the value was set.
bool WriteRegistryItem(HKEY root, std::string_view itemPath, DWORD value);

// Same, storing text as REG_SZ, terminating NUL included. The GBK text goes
// through code page 936 to the wide API, so it reads back the same on any
// system locale.
bool WriteRegistryItem(HKEY root, std::string_view itemPath, std::string_view text);

// Deletes the value named by itemPath from its key (not created when absent).
// When that fails for any reason, tries to delete a subkey whose path is the
// whole item path instead. True when either deletion succeeded.
bool DeleteRegistryItem(HKEY root, std::string_view itemPath);
