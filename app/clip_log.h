// A clip player that writes down every clip it is asked to play, so that an end-to-end test can
// see an announcement without listening to it. The shells use it only when the environment
// variable HORALIA_TEST_CLIP_LOG names the log file; otherwise the program plays as it always
// does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "voice/clip_player.h"

namespace horalia {

inline constexpr char kClipLogVariable[] = "HORALIA_TEST_CLIP_LOG";

class ClipLogPlayer final : public ClipPlayer {
  public:
    ClipLogPlayer(ClipPlayer& player, std::filesystem::path logFile);

    // Appends the path as one UTF-8 line (the file is opened and closed for each clip, so that a
    // reader sees it at once), then plays the clip with the wrapped player. A log that cannot be
    // written does not keep the clip from playing.
    void Play(const std::string& path, std::int32_t flags) override;
    bool Finish() override { return player_.Finish(); }

  private:
    ClipPlayer& player_;
    std::filesystem::path logFile_;
};

}  // namespace horalia
