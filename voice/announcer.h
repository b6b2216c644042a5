// 语音报时: the voice announcement. Plays clip sequences one clip at a time through PlayClip,
// which lets pending events run before every clip; Announce refuses to overlap itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/locale_text.h"
#include "common/moment.h"
#include "config/settings.h"
#include "voice/clip_player.h"

namespace horalia {

// Whether a clip file is there to be played (a regular file at the path).
using ClipExists = std::function<bool(const std::string& path)>;
bool ClipFileExists(const std::string& path);

// The file of a clip: in the chosen voice folder when it holds the clip, else in the program's
// own folder. ownFolder ends with the path separator; voiceFolder may be empty (no voice chosen)
// and is joined with the same separator.
std::string ClipPath(const std::string& text, const std::string& ownFolder,
                     const std::string& voiceFolder, const ClipExists& exists);

class 语音报时 {
  public:
    // soundFolder ends with the path separator; settings is read at every Announce.
    语音报时(ClipPlayer& player, EventPump& pump, const LocaleText& locale, std::string soundFolder,
             const SettingsRecord& settings, ClipExists exists = ClipFileExists);

    void PlayClip(const std::string& path, std::int32_t flags);
    void SpeakTime(const Moment& moment);
    void SpeakDate(const Moment& moment);
    void Announce(const Moment& moment);

    bool Announcing() const { return announcing_; }

  private:
    void PlayTexts(const std::vector<std::string>& texts);
    std::string PathOf(const std::string& text) const;

    ClipPlayer& player_;
    EventPump& pump_;
    const LocaleText& locale_;
    std::string soundFolder_;
    const SettingsRecord& settings_;
    ClipExists exists_;
    bool announcing_ = false;
};

}  // namespace horalia
