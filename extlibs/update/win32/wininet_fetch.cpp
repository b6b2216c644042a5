#include "extlibs/update/win32/wininet_fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>

#include "common/identity.h"
#include "extlibs/update/update_text.h"

namespace horalia::update {
namespace {

constexpr std::size_t kBodyLimit = kMaxUpdateTextSize + 1;

class InternetHandle {
  public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_)
            InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return handle_; }

  private:
    HINTERNET handle_;
};

void SetTimeouts(HINTERNET session, std::chrono::milliseconds timeout) {
    DWORD milliseconds = static_cast<DWORD>(timeout.count());
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(session, option, &milliseconds, sizeof milliseconds);
    DWORD retries = 1;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD length = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                        nullptr))
        return 0;
    return status;
}

std::optional<std::string> Download(const std::string& url, std::chrono::milliseconds timeout) {
    const InternetHandle session(
        InternetOpenA(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.get())
        return std::nullopt;
    SetTimeouts(session.get(), timeout);
    constexpr DWORD kFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                             INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    const InternetHandle request(
        InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0, kFlags, 0));
    if (!request.get() || StatusCode(request.get()) != HTTP_STATUS_OK)
        return std::nullopt;
    std::string body;
    char buffer[1024];
    while (body.size() < kBodyLimit) {
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer, sizeof buffer, &got))
            return std::nullopt;
        if (got == 0)
            break;
        body.append(buffer, std::min<std::size_t>(got, kBodyLimit - body.size()));
    }
    return body;
}

// WinINet's own timeouts do not cover every step (Wine ignores them while it waits for the
// response, and closing the handle does not end that wait), so the download runs on a thread of
// its own that the caller stops waiting for at the deadline. The two share the transfer; whoever
// lets go last frees it, and the thread keeps this module loaded until it has returned.
struct Transfer {
    std::string url;
    std::chrono::milliseconds timeout{};
    std::optional<std::string> body;  // written before `finished` is set
    HANDLE finished = nullptr;
    HMODULE module = nullptr;
    std::atomic<int> holders{2};
};

void LetGo(Transfer* transfer) {
    if (--transfer->holders == 0) {
        CloseHandle(transfer->finished);
        delete transfer;
    }
}

DWORD WINAPI TransferThread(void* parameter) {
    auto* transfer = static_cast<Transfer*>(parameter);
    const HMODULE module = transfer->module;
    try {
        transfer->body = Download(transfer->url, transfer->timeout);
    } catch (...) {
        // Out of memory: no text.
    }
    SetEvent(transfer->finished);
    LetGo(transfer);
    FreeLibraryAndExitThread(module, 0);
    return 0;
}

// Any object inside this module names it for GetModuleHandleExW.
constexpr char kModuleAnchor = 0;

bool StartTransfer(Transfer* transfer) {
    transfer->finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!transfer->finished)
        return false;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&kModuleAnchor), &transfer->module))
        return false;
    const HANDLE thread = CreateThread(nullptr, 0, TransferThread, transfer, 0, nullptr);
    if (!thread) {
        FreeLibrary(transfer->module);
        return false;
    }
    CloseHandle(thread);
    return true;
}

}  // namespace

std::optional<std::string> FetchWithWinInet(const std::string& url,
                                            std::chrono::milliseconds timeout) {
    auto* transfer = new Transfer;
    transfer->url = url;
    transfer->timeout = timeout;
    if (!StartTransfer(transfer)) {
        if (transfer->finished)
            CloseHandle(transfer->finished);
        delete transfer;
        return std::nullopt;
    }
    std::optional<std::string> body;
    if (WaitForSingleObject(transfer->finished, static_cast<DWORD>(timeout.count())) ==
        WAIT_OBJECT_0)
        body = std::move(transfer->body);
    LetGo(transfer);
    return body;
}

}  // namespace horalia::update
