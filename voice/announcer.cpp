#include "voice/announcer.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/utf8_path.h"

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

bool ClipFileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(Utf8Path(path), error);
}

std::string ClipPath(const std::string& text, const std::string& ownFolder,
                     const std::string& voiceFolder, const ClipExists& exists) {
    const std::string file = text + kWavSuffix;
    if (!voiceFolder.empty()) {
        const char separator = ownFolder.empty() ? '/' : ownFolder.back();
        const char last = voiceFolder.back();
        const std::string chosen =
            voiceFolder + (last == '/' || last == '\\' ? "" : std::string(1, separator)) + file;
        if (exists(chosen)) {
            return chosen;
        }
    }
    return ownFolder + file;
}

语音报时::语音报时(ClipPlayer& player, EventPump& pump, const LocaleText& locale,
                   std::string soundFolder, const SettingsRecord& settings, ClipExists exists)
    : player_(player),
      pump_(pump),
      locale_(locale),
      soundFolder_(std::move(soundFolder)),
      settings_(settings),
      exists_(std::move(exists)) {}

std::string 语音报时::PathOf(const std::string& text) const {
    return ClipPath(text, soundFolder_, settings_.VoiceFolder, exists_);
}

void 语音报时::PlayClip(const std::string& path, std::int32_t flags) {
    // Events queued while the previous clip played run here, between two clips.
    pump_.ProcessPendingEvents();
    player_.Play(path, flags);
}

void 语音报时::PlayTexts(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        PlayClip(PathOf(text), 0);
    }
}

void 语音报时::SpeakTime(const Moment& moment) {
    PlayTexts(TimeClipTexts(moment, locale_.AmDesignator(), locale_.PmDesignator(),
                            settings_.NaturalReading == 1));
}

void 语音报时::SpeakDate(const Moment& moment) {
    PlayTexts(DateClipTexts(moment));
}

void 语音报时::Announce(const Moment& moment) {
    if (announcing_) {
        return;  // dropped, not queued
    }
    FlagGuard guard(announcing_);
    player_.SetVolume(settings_.Volume);
    PlayClip(PathOf(kChimeClip), 0);
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
