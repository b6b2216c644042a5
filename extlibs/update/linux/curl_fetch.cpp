#include "extlibs/update/linux/curl_fetch.h"

#include <curl/curl.h>

#include <memory>

#include "common/identity.h"
#include "extlibs/update/update_text.h"

namespace horalia::update {
namespace {

constexpr std::size_t kBodyLimit = kMaxUpdateTextSize + 1;

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

// Keeps one byte more than the text may hold, then ends the transfer: the parser sees the text
// was too long without us downloading whatever a broken server sends.
std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto& body = *static_cast<std::string*>(target);
    const std::size_t bytes = size * count;
    const std::size_t room = kBodyLimit - body.size();
    body.append(data, bytes < room ? bytes : room);
    return body.size() < kBodyLimit ? bytes : 0;
}

}  // namespace

std::optional<std::string> FetchWithCurl(const std::string& url,
                                         std::chrono::milliseconds timeout) {
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy)
        return std::nullopt;
    std::string body;
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
    // Signals are the host program's business; without this a timeout may raise SIGALRM.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    const CURLcode result = curl_easy_perform(handle);
    // A transfer we ended for being too long still hands the parser its oversized text.
    if (result == CURLE_WRITE_ERROR && body.size() == kBodyLimit)
        return body;
    if (result != CURLE_OK)
        return std::nullopt;
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return std::nullopt;
    return body;
}

}  // namespace horalia::update
