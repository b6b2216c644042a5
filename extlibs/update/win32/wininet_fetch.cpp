#include "extlibs/update/win32/wininet_fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>

#include "common/identity.h"
#include "common/win32/handles.h"
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
    win32::UniqueKernelHandle finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HMODULE module = nullptr;
};

DWORD WINAPI TransferThread(void* parameter) {
    HMODULE module = nullptr;
    {
        // The thread's share of the transfer, let go before the module may be unloaded.
        const std::unique_ptr<std::shared_ptr<Transfer>> share(
            static_cast<std::shared_ptr<Transfer>*>(parameter));
        Transfer& transfer = **share;
        module = transfer.module;
        try {
            transfer.body = Download(transfer.url, transfer.timeout);
        } catch (...) {
            // Out of memory: no text.
        }
        SetEvent(transfer.finished.get());
    }
    FreeLibraryAndExitThread(module, 0);
    return 0;
}

// Any object inside this module names it for GetModuleHandleExW.
constexpr char kModuleAnchor = 0;

bool StartTransfer(const std::shared_ptr<Transfer>& transfer) {
    if (!transfer->finished ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&kModuleAnchor), &transfer->module))
        return false;
    auto share = std::make_unique<std::shared_ptr<Transfer>>(transfer);
    const win32::UniqueKernelHandle thread(
        CreateThread(nullptr, 0, TransferThread, share.get(), 0, nullptr));
    if (!thread) {
        FreeLibrary(transfer->module);
        return false;
    }
    share.release();  // the thread's now
    return true;
}

}  // namespace

std::optional<std::string> FetchWithWinInet(const std::string& url,
                                            std::chrono::milliseconds timeout) {
    const auto transfer = std::make_shared<Transfer>();
    transfer->url = url;
    transfer->timeout = timeout;
    if (!StartTransfer(transfer))
        return std::nullopt;
    if (WaitForSingleObject(transfer->finished.get(), static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0)
        return std::nullopt;
    return std::move(transfer->body);
}

}  // namespace horalia::update
