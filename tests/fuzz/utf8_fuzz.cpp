// UTF-8 to GBK on any bytes: all or nothing. A non-empty result means the
// input was valid UTF-8 of characters GBK can spell, so converting the result
// back gives the input again.
#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/Utf8ToGbk.h"

namespace {

std::string GbkToUtf8(const std::string& gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  std::string out(gbk.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1)) std::abort();
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string gbk = ConvertUtf8ToGbk(input);
  if (!gbk.empty() && GbkToUtf8(gbk) != input) std::abort();
  return 0;
}
