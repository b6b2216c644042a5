// A blocking call that cannot be given a time limit of its own (a name lookup) made on a thread
// of its own, so that the caller waits no longer than it has. A call the time ran out on is left
// to finish alone; what it returns then is handed to `discard`.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace horalia::say {

template <typename Result>
std::optional<Result> CallWithin(std::function<Result()> call, std::function<void(Result&)> discard,
                                 std::chrono::milliseconds within) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
        bool abandoned = false;
    };
    auto shared = std::make_shared<Shared>();
    std::thread([shared, call = std::move(call), discard = std::move(discard)] {
        Result result = call();
        std::lock_guard lock(shared->mutex);
        if (shared->abandoned) {
            discard(result);
            return;
        }
        shared->result = std::move(result);
        shared->done.notify_one();
    }).detach();

    std::unique_lock lock(shared->mutex);
    if (!shared->done.wait_for(lock, within, [&] { return shared->result.has_value(); })) {
        shared->abandoned = true;
        return std::nullopt;
    }
    return std::move(shared->result);
}

// getaddrinfo within the time given: a name server that never answers must not hold the caller
// past it. AddrInfo and the two functions are the platform's (<netdb.h>, <ws2tcpip.h>); the list
// returned, null when there is none in time, is freed with freeAddrInfo.
template <typename AddrInfo, typename GetAddrInfo, typename FreeAddrInfo>
AddrInfo* LookUpWithin(const std::string& host, std::uint16_t port, const AddrInfo& hints,
                       GetAddrInfo getAddrInfo, FreeAddrInfo freeAddrInfo,
                       std::chrono::milliseconds within) {
    const std::optional<AddrInfo*> found = CallWithin<AddrInfo*>(
        [host, port, hints, getAddrInfo] {
            AddrInfo* list = nullptr;
            return getAddrInfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) == 0
                       ? list
                       : nullptr;
        },
        [freeAddrInfo](AddrInfo*& list) {
            if (list != nullptr) {
                freeAddrInfo(list);
            }
        },
        within);
    return found.value_or(nullptr);
}

}  // namespace horalia::say
