#include "config/linux/iconv_codec.h"

#include <iconv.h>

#include <cerrno>

namespace horalia::linux_backend {
namespace {

// One open conversion per direction and thread: opening one loads and sets up a gconv module,
// which costs far more than converting a settings file.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != kInvalid) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Convert(std::string_view text) {
        if (cd_ == kInvalid) {
            return std::nullopt;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::string out;
        std::string input(text);
        char* in = input.data();
        std::size_t inLeft = input.size();
        char chunk[1024];
        while (inLeft > 0) {
            char* outPtr = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(chunk, sizeof chunk - outLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
                return std::nullopt;
            }
        }
        return out;
    }

  private:
    static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_;
};

class GlibcCodec : public ini::TextCodec {
  public:
    std::optional<std::string> GbkToUtf8(std::string_view gbk) override {
        thread_local Converter converter("UTF-8", "GBK");
        return converter.Convert(gbk);
    }
    std::optional<std::string> Utf8ToGbk(std::string_view utf8) override {
        thread_local Converter converter("GBK", "UTF-8");
        return converter.Convert(utf8);
    }
};

}  // namespace

ini::TextCodec& IconvCodec() {
    static GlibcCodec codec;
    return codec;
}

}  // namespace horalia::linux_backend
