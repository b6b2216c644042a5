// 语音报时: the voice announcement. Hands clip sequences to the player, which plays them on its own
// thread while this one goes on; Announce refuses to overlap itself.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/moment.h"
#include "common/ui_thread.h"
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
    std::int32_t lunar = 0;       // the lunar date after the weekday: 0 none, 1 month and day,
                                  // 2 the year's 干支 and 生肖 too (LunarClipTexts)
};

// The options as they stand now: asked as the chime starts and again after it, so that a change
// applied by an event handled during the chime is heard at once.
using CurrentAnnouncementOptions = std::function<AnnouncementOptions()>;

class 语音报时 {
  public:
    // soundFolder ends with the path separator. The player's word that a part is queued comes
    // back on the user-interface thread through `ui`.
    语音报时(ClipPlayer& player, UiThread& ui, std::string soundFolder,
             ClipExists exists = ClipFileExists);
    // Stops the player, so that it calls back into nothing.
    ~语音报时();
    语音报时(const 语音报时&) = delete;
    语音报时& operator=(const 语音报时&) = delete;

    // Each hands its clips to the player and returns at once. flags has no meaning any more.
    void PlayClip(const std::string& path, std::int32_t flags);
    void SpeakTime(const Moment& moment, const AnnouncementOptions& options = {});
    void SpeakDate(const Moment& moment, const AnnouncementOptions& options = {});
    // The chime, then the date and/or the time as the options say once the chime is about done.
    // Announcing() holds from here until the last part is queued; an Announce meanwhile is
    // dropped. A sentence the player drops (a stalled sound output) ends there.
    void Announce(const Moment& moment, const CurrentAnnouncementOptions& options);
    // Silences the announcement under way (quitting).
    void Stop();

    bool Announcing() const { return announcing_; }
    // How the last announcement ended: whether the player played it, dropped it, or found no
    // sound output for it.
    ClipPlayer::PartEnd LastAnnouncementEnd() const { return lastEnd_; }

  private:
    void AfterChime(const Moment& moment, const CurrentAnnouncementOptions& current,
                    ClipPlayer::PartEnd end);
    void Ended(ClipPlayer::PartEnd end);
    // Hands a part whose end comes back, on this thread, to `then` unless a Stop came first.
    void PlayThen(SentencePart part, std::function<void(ClipPlayer::PartEnd)> then);
    std::vector<std::string> PathsOf(const std::vector<std::string>& texts,
                                     const std::string& voiceFolder) const;
    std::string PathOf(const std::string& text, const std::string& voiceFolder) const;

    ClipPlayer& player_;
    UiThread& ui_;
    std::string soundFolder_;
    ClipExists exists_;
    bool announcing_ = false;
    ClipPlayer::PartEnd lastEnd_ = ClipPlayer::PartEnd::kPlayed;
    std::uint64_t generation_ = 0;  // a Stop makes every answer still on its way stale
};

}  // namespace horalia
