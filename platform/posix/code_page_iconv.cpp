#include <iconv.h>

#include <cerrno>

#include "platform/code_page.h"

namespace platform::code_page {
namespace {

// One conversion descriptor for one call, closed on every path.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  bool Convert(std::string_view in, std::string& out, std::string_view replacement) {
    out.clear();
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      if (replacement.empty()) return false;  // EILSEQ or EINVAL
      out.append(replacement);
      ++src;
      --srcLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool Convert(Direction direction, std::string_view in, std::string& out, std::string_view replacement) {
  // The code page goes by "CP936" in glibc and by "GBK" in most other iconvs.
  for (const char* gbk : {"CP936", "GBK"}) {
    Converter converter = direction == Direction::kFromGbk ? Converter("UTF-8", gbk) : Converter(gbk, "UTF-8");
    if (converter.ok()) return converter.Convert(in, out, replacement);
  }
  return false;
}

}  // namespace platform::code_page
