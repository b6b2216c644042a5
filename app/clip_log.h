// A clip player that writes down every clip it is handed, so that an end-to-end test can see an
// announcement without listening to it. The shells use it only when the environment variable
// HORALIA_TEST_CLIP_LOG names the log file; otherwise the program plays as it always does.
#pragma once

#include <filesystem>
#include <string>

#include "voice/clip_player.h"

namespace horalia {

inline constexpr char kClipLogVariable[] = "HORALIA_TEST_CLIP_LOG";

class ClipLogPlayer final : public ClipPlayer {
  public:
    ClipLogPlayer(ClipPlayer& player, std::filesystem::path logFile);

    // Appends each path as one UTF-8 line (the file is opened and closed for each part, so that
    // a reader sees it at once), then hands the part to the wrapped player. A log that cannot be
    // written does not keep the clips from playing.
    void Play(SentencePart part, PartQueued queued) override;
    bool Finish() override { return player_.Finish(); }
    void Stop() override { player_.Stop(); }

  private:
    ClipPlayer& player_;
    std::filesystem::path logFile_;
};

}  // namespace horalia
