#include "listfile/ListFile_win32.h"

#include <windows.h>

#include <limits>
#include <new>

#include "listfile/ListFile.h"

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  // One WriteFile call takes at most 4 GiB; only a 64-bit build could hold more.
  if (bytes.size() > std::numeric_limits<DWORD>::max()) return false;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) return false;
  const auto size = static_cast<DWORD>(bytes.size());
  if (size == 0) return true;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), size, &written, nullptr) != FALSE && written == size;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, so choosing
  // a folder as the import file ends here as unreadable. A file another
  // program keeps open for writing can still be read, as editors do; one
  // held without any sharing cannot.
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.IsOpen()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max() / 2) {
    return std::nullopt;
  }
  std::string content;
  try {
    content.resize(static_cast<std::size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // more than the process can hold
  }
  // Read until the end, in case the file changed size since it was measured.
  std::size_t filled = 0;
  for (;;) {
    if (filled == content.size()) {
      try {
        content.resize(content.size() + 4096);
      } catch (const std::bad_alloc&) {
        return std::nullopt;
      }
    }
    const std::size_t room = content.size() - filled;
    const DWORD ask = room > 0x40000000u ? 0x40000000u : static_cast<DWORD>(room);
    DWORD got = 0;
    if (!ReadFile(file.Get(), content.data() + filled, ask, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    filled += got;
  }
  content.resize(filled);
  return content;
}

bool ExportList(const ListControl& list, const std::wstring& path) { return WriteWholeFile(path, FormatListFile(list)); }

bool ImportList(ListControl& list, const std::wstring& path) {
  const std::optional<std::string> content = ReadWholeFile(path);
  if (!content) return false;
  ImportListText(list, *content);
  return true;
}
