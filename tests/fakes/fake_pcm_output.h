// A PcmOutput that keeps a log of what it was asked ("open 22050/1", "write 4096", "drain",
// "close") and the samples written, with scriptable answers. The Linux player closes its stream
// from a second thread, so every member is guarded.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "voice/linux/pcm_output.h"

namespace horalia::fakes {

class FakePcmOutput : public linux_audio::PcmOutput {
  public:
    linux_audio::OpenResult Open(const audio::PcmFormat& format) override {
        std::lock_guard lock(mutex_);
        log_.push_back("open " + std::to_string(format.sampleRate) + "/" +
                       std::to_string(format.channels));
        if (openResults_.empty()) {
            return linux_audio::OpenResult::kOpened;
        }
        const linux_audio::OpenResult result = openResults_.front();
        openResults_.pop_front();
        return result;
    }

    bool Write(std::span<const std::int16_t> samples) override {
        std::lock_guard lock(mutex_);
        log_.push_back("write " + std::to_string(samples.size()));
        written_.insert(written_.end(), samples.begin(), samples.end());
        return !failWrites_;
    }

    bool Drain() override {
        std::lock_guard lock(mutex_);
        log_.push_back("drain");
        return !failDrains_;
    }

    void Close() override {
        std::lock_guard lock(mutex_);
        log_.push_back("close");
    }

    // Answers of the next Open calls, in order; kOpened once they are used up.
    void QueueOpenResult(linux_audio::OpenResult result) {
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
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
    std::vector<std::int16_t> written_;
    std::deque<linux_audio::OpenResult> openResults_;
    bool failWrites_ = false;
    bool failDrains_ = false;
};

}  // namespace horalia::fakes
