// A PcmOutput that keeps a log of what it was asked ("open 22050/1", "write 4096", "drain",
// "close", "abort") and the samples written, with scriptable answers; it can also stall, as a
// suspended sound server does, until aborted. The player calls it from its own threads, so every
// member is guarded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "voice/pcm_output.h"

namespace horalia::fakes {

class FakePcmOutput : public audio::PcmOutput {
  public:
    audio::OpenResult Open(const audio::PcmFormat& format) override {
        std::lock_guard lock(mutex_);
        log_.push_back("open " + std::to_string(format.sampleRate) + "/" +
                       std::to_string(format.channels));
        if (openResults_.empty()) {
            return audio::OpenResult::kOpened;
        }
        const audio::OpenResult result = openResults_.front();
        openResults_.pop_front();
        return result;
    }

    bool Write(std::span<const std::int16_t> samples) override {
        std::unique_lock lock(mutex_);
        log_.push_back("write " + std::to_string(samples.size()));
        if (!StallUntilAborted(lock)) {
            return false;
        }
        written_.insert(written_.end(), samples.begin(), samples.end());
        return !failWrites_;
    }

    bool Drain() override {
        std::unique_lock lock(mutex_);
        log_.push_back("drain");
        return StallUntilAborted(lock) && !failDrains_;
    }

    void Close() override {
        std::lock_guard lock(mutex_);
        log_.push_back("close");
    }

    void Abort() override {
        std::lock_guard lock(mutex_);
        log_.push_back("abort");
        aborted_ = true;
        wake_.notify_all();
    }

    // While set, every write and drain blocks until Abort, as on a suspended sink.
    void Stall(bool stall) {
        std::lock_guard lock(mutex_);
        stall_ = stall;
        aborted_ = false;
    }

    // Answers of the next Open calls, in order; kOpened once they are used up.
    void QueueOpenResult(audio::OpenResult result) {
        std::lock_guard lock(mutex_);
        openResults_.push_back(result);
    }
    void FailWrites(bool fail) {
        std::lock_guard lock(mutex_);
        failWrites_ = fail;
    }
    void FailDrains(bool fail) {
        std::lock_guard lock(mutex_);
        failDrains_ = fail;
    }

    std::vector<std::string> Log() const {
        std::lock_guard lock(mutex_);
        return log_;
    }
    std::vector<std::int16_t> Written() const {
        std::lock_guard lock(mutex_);
        return written_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        log_.clear();
        written_.clear();
    }

  private:
    bool StallUntilAborted(std::unique_lock<std::mutex>& lock) {
        wake_.wait(lock, [this] { return !stall_ || aborted_; });
        return !stall_;
    }

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stall_ = false;
    bool aborted_ = false;
    std::vector<std::string> log_;
    std::vector<std::int16_t> written_;
    std::deque<audio::OpenResult> openResults_;
    bool failWrites_ = false;
    bool failDrains_ = false;
};

}  // namespace horalia::fakes
