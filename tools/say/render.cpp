#include "tools/say/render.h"

#include "voice/clip_sequence.h"

namespace horalia::say {
namespace {

std::string Describe(const audio::PcmFormat& f) {
    return std::to_string(f.sampleRate) + " Hz, " + std::to_string(f.channels) + " channel(s)";
}

}  // namespace

Rendering RenderClips(const std::vector<std::string>& paths, const FileReader& read) {
    Rendering result;
    std::vector<std::optional<audio::Pcm>> clips;
    std::optional<audio::PcmFormat> format;
    std::string formatSource;
    for (const std::string& path : paths) {
        std::optional<audio::Pcm> clip;
        std::string why = "cannot be read";
        bool truncated = false;
        if (const auto bytes = read(path)) {
            clip = audio::ParseWav(*bytes, &why, &truncated);
        }
        if (!clip) {
            result.warnings.push_back("clip " + path + ": " + why + "; a tone takes its place");
        } else if (!format) {
            format = clip->format;
            formatSource = path;
        } else if (!(clip->format == *format)) {
            result.error = "clip " + path + " (" + Describe(clip->format) +
                           ") differs in format from " + formatSource + " (" + Describe(*format) +
                           ")";
            result.warnings.clear();
            return result;
        }
        if (clip && truncated) {
            result.warnings.push_back("clip " + path +
                                      ": truncated, its sound ends before the length its header "
                                      "gives; what is there is used");
        }
        clips.push_back(std::move(clip));
    }
    result.pcm.format = format.value_or(audio::kClipFormat);
    const std::vector<std::int16_t> tone = audio::DefaultTone(result.pcm.format);
    for (const auto& clip : clips) {
        const std::vector<std::int16_t>& samples = clip ? clip->samples : tone;
        result.pcm.samples.insert(result.pcm.samples.end(), samples.begin(), samples.end());
    }
    return result;
}

std::vector<std::string> VoiceProblems(const std::string& folder, char separator,
                                       const FileReader& read) {
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') {
        prefix += separator;
    }
    std::vector<std::string> problems;
    for (const char* text : kAllClipTexts) {
        const std::string file = std::string(text) + ".wav";
        const auto bytes = read(prefix + file);
        if (!bytes) {
            problems.push_back("missing: " + file);
            continue;
        }
        std::string why;
        const std::optional<audio::Pcm> clip = audio::ParseWav(*bytes, &why);
        if (!clip) {
            problems.push_back("unplayable: " + file + " (" + why + ")");
        } else if (clip->samples.empty()) {
            problems.push_back("unplayable: " + file + " (no sound in it)");
        }
    }
    return problems;
}

}  // namespace horalia::say
