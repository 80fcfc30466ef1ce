// Owner of one WinINet handle.
#pragma once

#include <windows.h>
#include <wininet.h>

class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() { Close(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  void Reset(HINTERNET handle) {
    Close();
    handle_ = handle;
  }

  void Close() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HINTERNET handle_ = nullptr;
};
