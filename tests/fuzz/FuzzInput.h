// Cuts one fuzz input into a few byte strings: each piece is preceded by one
// length byte; what is left at the end is the last piece.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  std::string Piece() {
    if (rest_.empty()) return {};
    const std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(rest_[0]) % 16, rest_.size() - 1);
    std::string piece(rest_.substr(1, n));
    rest_.remove_prefix(1 + n);
    return piece;
  }

  int Small(int modulo) {
    if (rest_.empty()) return 0;
    const int value = static_cast<unsigned char>(rest_[0]) % modulo;
    rest_.remove_prefix(1);
    return value;
  }

  std::string Rest() {
    std::string all(rest_);
    rest_ = {};
    return all;
  }

 private:
  std::string_view rest_;
};
