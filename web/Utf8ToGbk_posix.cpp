#include "web/Utf8ToGbk.h"

#include <iconv.h>

#include <cerrno>

#include "web/GbkRepertoire.h"

namespace {

// iconv_t with its close; (iconv_t)-1 is the failure value of iconv_open.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (IsOpen()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

}  // namespace

std::string ConvertUtf8ToGbk(std::string_view utf8) {
  if (utf8.empty() || HasCharacterOutsideGbk(utf8)) return {};
  Converter converter("GBK", "UTF-8");
  if (!converter.IsOpen()) return {};

  std::string output(utf8.size(), '\0');
  // iconv's input pointer is not const on every libc.
  std::string input(utf8);
  char* in = input.data();
  std::size_t inLeft = input.size();
  std::size_t produced = 0;
  while (inLeft > 0) {
    char* out = output.data() + produced;
    std::size_t outLeft = output.size() - produced;
    const std::size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    produced = output.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    // E2BIG: the output is full, so grow it and go on. EILSEQ (invalid input or
    // a character GBK lacks) and EINVAL (a sequence cut off at the end) give
    // nothing at all.
    if (errno != E2BIG) return {};
    output.resize(output.size() * 2);
  }
  // A stateless target needs no flush, but ask anyway so nothing stays behind.
  char* out = output.data() + produced;
  std::size_t outLeft = output.size() - produced;
  if (outLeft == 0) {
    output.resize(output.size() + 16);
    out = output.data() + produced;
    outLeft = output.size() - produced;
  }
  if (iconv(converter.get(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) return {};
  output.resize(output.size() - outLeft);
  return output;
}
