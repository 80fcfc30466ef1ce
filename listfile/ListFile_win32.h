// Writing and reading "ip.txt" on Windows. Paths are UTF-16 end to end, so a
// folder whose name GBK cannot spell still works.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/Controls.h"

// Creates or truncates the file, opened for writing with no sharing, and
// writes the bytes with one call. False when the file could not be created or
// not every byte was written.
bool WriteWholeFile(const std::wstring& path, std::string_view bytes);

// The whole content of a file; nothing when it cannot be opened or read
// (a folder included).
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// The list in the ip.txt format, written in one go.
bool ExportList(const ListControl& list, const std::wstring& path);

// Appends the file's records to the list; false, and no row added, when the
// file cannot be read.
bool ImportList(ListControl& list, const std::wstring& path);
