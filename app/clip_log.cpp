#include "app/clip_log.h"

#include <fstream>
#include <utility>

namespace horalia {

ClipLogPlayer::ClipLogPlayer(ClipPlayer& player, std::filesystem::path logFile)
    : player_(player), logFile_(std::move(logFile)) {}

void ClipLogPlayer::Play(const std::string& path, std::int32_t flags) {
    {
        std::ofstream log(logFile_, std::ios::binary | std::ios::app);
        log << path << '\n';
    }
    player_.Play(path, flags);
}

}  // namespace horalia
