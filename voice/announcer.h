// 语音报时: the voice announcement. Plays clip sequences one clip at a time through PlayClip,
// which lets pending events run before every clip; Announce refuses to overlap itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/locale_text.h"
#include "common/moment.h"
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

// What an announcement is made of, as the person chose it.
struct AnnouncementOptions {
    std::int32_t format = 0;      // 0 time, 1 date, 2 date then time; any other: the chime alone
    bool naturalReading = false;  // the time as people say it: 两点零五分
    std::int32_t volume = 100;    // percent of the clips as recorded
    std::string voiceFolder;      // empty: the program's own clips
};

// The options as they stand now: asked as the chime starts and again after it, so that a change
// applied by an event handled during the chime is heard at once.
using CurrentAnnouncementOptions = std::function<AnnouncementOptions()>;

class 语音报时 {
  public:
    // soundFolder ends with the path separator.
    语音报时(ClipPlayer& player, EventPump& pump, const LocaleText& locale, std::string soundFolder,
             ClipExists exists = ClipFileExists);

    void PlayClip(const std::string& path, std::int32_t flags);
    void SpeakTime(const Moment& moment, const AnnouncementOptions& options = {});
    void SpeakDate(const Moment& moment, const AnnouncementOptions& options = {});
    void Announce(const Moment& moment, const CurrentAnnouncementOptions& options);

    bool Announcing() const { return announcing_; }

  private:
    void PlayTexts(const std::vector<std::string>& texts, const std::string& voiceFolder);
    std::string PathOf(const std::string& text, const std::string& voiceFolder) const;

    ClipPlayer& player_;
    EventPump& pump_;
    const LocaleText& locale_;
    std::string soundFolder_;
    ClipExists exists_;
    bool announcing_ = false;
};

}  // namespace horalia
