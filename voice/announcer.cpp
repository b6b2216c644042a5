#include "voice/announcer.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/utf8_path.h"

#include "voice/clip_sequence.h"

namespace horalia {

namespace {

constexpr char kWavSuffix[] = ".wav";

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

语音报时::语音报时(ClipPlayer& player, UiThread& ui, std::string soundFolder, ClipExists exists)
    : player_(player), ui_(ui), soundFolder_(std::move(soundFolder)), exists_(std::move(exists)) {}

语音报时::~语音报时() {
    player_.Stop();
}

std::string 语音报时::PathOf(const std::string& text, const std::string& voiceFolder) const {
    return ClipPath(text, soundFolder_, voiceFolder, exists_);
}

std::vector<std::string> 语音报时::PathsOf(const std::vector<std::string>& texts,
                                           const std::string& voiceFolder) const {
    std::vector<std::string> paths;
    for (const std::string& text : texts) {
        paths.push_back(PathOf(text, voiceFolder));
    }
    return paths;
}

void 语音报时::PlayClip(const std::string& path, std::int32_t /*flags*/) {
    player_.Play({{path}}, {});
}

void 语音报时::SpeakTime(const Moment& moment, const AnnouncementOptions& options) {
    player_.Play({PathsOf(TimeClipTexts(moment, options.naturalReading), options.voiceFolder),
                  options.volume},
                 {});
}

void 语音报时::SpeakDate(const Moment& moment, const AnnouncementOptions& options) {
    player_.Play(
        {PathsOf(DateClipTexts(moment, options.lunar), options.voiceFolder), options.volume}, {});
}

void 语音报时::PlayThen(SentencePart part, std::function<void(ClipPlayer::PartEnd)> then) {
    player_.Play(std::move(part),
                 [this, then = std::move(then), generation = generation_](ClipPlayer::PartEnd end) {
                     ui_.Post([this, then, generation, end] {
                         if (generation == generation_) {
                             then(end);
                         }
                     });
                 });
}

void 语音报时::Announce(const Moment& moment, const CurrentAnnouncementOptions& current) {
    if (announcing_) {
        return;  // dropped, not queued
    }
    announcing_ = true;
    const AnnouncementOptions atChime = current();
    PlayThen(
        {{PathOf(kChimeClip, atChime.voiceFolder)}, atChime.volume},
        [this, moment, current](ClipPlayer::PartEnd end) { AfterChime(moment, current, end); });
}

// Asked again after the chime: a settings change applied while it played takes effect at once.
void 语音报时::AfterChime(const Moment& moment, const CurrentAnnouncementOptions& current,
                          ClipPlayer::PartEnd end) {
    if (end == ClipPlayer::PartEnd::kDropped) {
        return Ended(end);  // the sentence could not start in time: it is never spoken late
    }
    // With no sound output the words are handed all the same: the player asks for the server
    // once more (milliseconds when it is absent) and reports the part as not played.
    const AnnouncementOptions options = current();
    const std::vector<std::string> texts =
        AfterChimeClipTexts(moment, options.format, options.naturalReading, options.lunar);
    if (texts.empty()) {
        return Ended(end);  // the chime alone
    }
    PlayThen({PathsOf(texts, options.voiceFolder), options.volume},
             [this](ClipPlayer::PartEnd rest) { Ended(rest); });
}

void 语音报时::Ended(ClipPlayer::PartEnd end) {
    lastEnd_ = end;
    announcing_ = false;
}

void 语音报时::Stop() {
    ++generation_;
    announcing_ = false;
    player_.Stop();
}

}  // namespace horalia
