#include "app/clip_log.h"

#include <fstream>
#include <utility>

namespace horalia {

ClipLogPlayer::ClipLogPlayer(ClipPlayer& player, std::filesystem::path logFile)
    : player_(player), logFile_(std::move(logFile)) {}

void ClipLogPlayer::Play(SentencePart part, PartQueued queued) {
    {
        std::ofstream log(logFile_, std::ios::binary | std::ios::app);
        for (const std::string& path : part.clips) {
            log << path << '\n';
        }
    }
    player_.Play(std::move(part), std::move(queued));
}

}  // namespace horalia
