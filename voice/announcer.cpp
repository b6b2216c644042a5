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
                   std::string soundFolder, ClipExists exists)
    : player_(player),
      pump_(pump),
      locale_(locale),
      soundFolder_(std::move(soundFolder)),
      exists_(std::move(exists)) {}

std::string 语音报时::PathOf(const std::string& text, const std::string& voiceFolder) const {
    return ClipPath(text, soundFolder_, voiceFolder, exists_);
}

void 语音报时::PlayClip(const std::string& path, std::int32_t flags) {
    // Events queued while the previous clip played run here, between two clips.
    pump_.ProcessPendingEvents();
    player_.Play(path, flags);
}

void 语音报时::PlayTexts(const std::vector<std::string>& texts, const std::string& voiceFolder) {
    for (const std::string& text : texts) {
        PlayClip(PathOf(text, voiceFolder), 0);
    }
}

void 语音报时::SpeakTime(const Moment& moment, const AnnouncementOptions& options) {
    PlayTexts(TimeClipTexts(moment, locale_.AmDesignator(), locale_.PmDesignator(),
                            options.naturalReading),
              options.voiceFolder);
}

void 语音报时::SpeakDate(const Moment& moment, const AnnouncementOptions& options) {
    PlayTexts(DateClipTexts(moment), options.voiceFolder);
}

void 语音报时::Announce(const Moment& moment, const CurrentAnnouncementOptions& current) {
    if (announcing_) {
        return;  // dropped, not queued
    }
    FlagGuard guard(announcing_);
    const AnnouncementOptions atChime = current();
    player_.SetVolume(atChime.volume);
    PlayClip(PathOf(kChimeClip, atChime.voiceFolder), 0);
    // Asked again after the chime: a settings change applied while it played takes effect at once.
    const AnnouncementOptions options = current();
    switch (options.format) {
        case 0:
            SpeakTime(moment, options);
            break;
        case 1:
            SpeakDate(moment, options);
            break;
        case 2:
            SpeakDate(moment, options);
            SpeakTime(moment, options);
            break;
        default:
            break;  // the chime alone
    }
}

}  // namespace horalia
