#include "config/linux/iconv_codec.h"

#include <iconv.h>

#include <cerrno>

namespace horalia::linux_backend {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char chunk[1024];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, sizeof chunk - outLeft);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

class GlibcCodec : public ini::TextCodec {
  public:
    std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
        return Convert("UTF-8", "GBK", gbk);
    }
    std::optional<std::string> Utf8ToGbk(std::string_view utf8) override {
        return Convert("GBK", "UTF-8", utf8);
    }
};

}  // namespace

ini::TextCodec& IconvCodec() {
    static GlibcCodec codec;
    return codec;
}

}  // namespace horalia::linux_backend
