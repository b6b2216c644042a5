#include "voice/announcer.h"

#include <utility>

#include "voice/clip_sequence.h"

namespace horalia {

namespace {

constexpr char kWavSuffix[] = ".wav";

// Clears the announcing flag on every way out of Announce.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag_;
};

}  // namespace

语音报时::语音报时(ClipPlayer& player, EventPump& pump, const LocaleText& locale,
                   std::string soundFolder, const SettingsRecord& settings)
    : player_(player),
      pump_(pump),
      locale_(locale),
      soundFolder_(std::move(soundFolder)),
      settings_(settings) {}

void 语音报时::PlayClip(const std::string& path, std::int32_t flags) {
    // Events queued while the previous clip played run here, between two clips.
    pump_.ProcessPendingEvents();
    player_.Play(path, flags);
}

void 语音报时::PlayTexts(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        PlayClip(soundFolder_ + text + kWavSuffix, 0);
    }
}

void 语音报时::SpeakTime(const Moment& moment) {
    PlayTexts(TimeClipTexts(moment, locale_.AmDesignator(), locale_.PmDesignator()));
}

void 语音报时::SpeakDate(const Moment& moment) {
    PlayTexts(DateClipTexts(moment));
}

void 语音报时::Announce(const Moment& moment) {
    if (announcing_) {
        return;  // dropped, not queued
    }
    FlagGuard guard(announcing_);
    PlayClip(soundFolder_ + kChimeClip + kWavSuffix, 0);
    // Read after the chime: a settings change applied while it played takes effect at once.
    switch (settings_.AnnounceFormat) {
        case 0:
            SpeakTime(moment);
            break;
        case 1:
            SpeakDate(moment);
            break;
        case 2:
            SpeakDate(moment);
            SpeakTime(moment);
            break;
        default:
            break;  // the chime alone
    }
}

}  // namespace horalia
