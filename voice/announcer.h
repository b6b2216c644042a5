// 语音报时: the voice announcement. Plays clip sequences one clip at a time through PlayClip,
// which lets pending events run before every clip; Announce refuses to overlap itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/locale_text.h"
#include "common/moment.h"
#include "config/settings.h"
#include "voice/clip_player.h"

namespace horalia {

class 语音报时 {
  public:
    // soundFolder ends with the path separator; settings is read at every Announce.
    语音报时(ClipPlayer& player, EventPump& pump, const LocaleText& locale, std::string soundFolder,
             const SettingsRecord& settings);

    void PlayClip(const std::string& path, std::int32_t flags);
    void SpeakTime(const Moment& moment);
    void SpeakDate(const Moment& moment);
    void Announce(const Moment& moment);

    bool Announcing() const { return announcing_; }

  private:
    void PlayTexts(const std::vector<std::string>& texts);

    ClipPlayer& player_;
    EventPump& pump_;
    const LocaleText& locale_;
    std::string soundFolder_;
    const SettingsRecord& settings_;
    bool announcing_ = false;
};

}  // namespace horalia
