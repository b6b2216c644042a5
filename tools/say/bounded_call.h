// A blocking call that cannot be given a time limit of its own (a name lookup) made on a thread
// of its own, so that the caller waits no longer than it has. A call the time ran out on is left
// to finish alone; what it returns then is handed to `discard`.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
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

}  // namespace horalia::say
