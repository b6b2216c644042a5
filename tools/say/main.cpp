// horalia-say: prints, plays or renders one announcement.
#include <cstdio>
#include <string>
#include <vector>

#include "common/app_paths.h"
#include "common/locale_text.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/start_with_system.h"
#include "tools/say/file_io.h"
#include "tools/say/render.h"
#include "tools/say/say_options.h"
#include "tools/say/say_platform.h"
#include "voice/announcer.h"
#include "voice/clip_player.h"
#include "voice/clip_sequence.h"

namespace horalia::say {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitNoSound = 3;

// A command-line program has no events to run between clips.
class NoEvents final : public EventPump {
  public:
    void ProcessPendingEvents() override {}
};

void Complain(const std::string& message) {
    std::fprintf(stderr, "horalia-say: %s\n", message.c_str());
}

// The settings record as the tray program loads it, so that a hand-edited format is read the
// same way by both.
SettingsRecord LoadedSettings(const AppPaths& paths) {
    读写配置& config = Config();
    config.SpecifyIni(paths.iniPath);
    SettingsRecord record;
    LoadSettings(config, SystemStartStore(), StartCommand(paths.executablePath), record);
    return record;
}

int RenderWav(const std::vector<std::string>& texts, const std::string& soundFolder,
              const std::string& output) {
    std::vector<std::string> paths;
    for (const std::string& text : texts) {
        paths.push_back(soundFolder + text + ".wav");
    }
    const Rendering rendering = RenderClips(paths, ReadWholeFile);
    if (!rendering.Ok()) {
        Complain(rendering.error);
        return kExitFailure;
    }
    switch (WriteWholeFile(output, audio::EncodeWav(rendering.pcm))) {
        case WriteOutcome::kCannotOpen:
            Complain("cannot write the output file " + output);
            return kExitBadInput;
        case WriteOutcome::kFailed:
            Complain("writing " + output + " failed; the file was removed");
            return kExitFailure;
        case WriteOutcome::kWritten:
            break;
    }
    for (const std::string& warning : rendering.warnings) {
        Complain(warning);
    }
    return 0;
}

std::string JoinTexts(const std::vector<std::string>& texts) {
    std::string line;
    for (const std::string& text : texts) {
        if (!line.empty()) {
            line += ' ';
        }
        line += text;
    }
    return line;
}

int Run(int argc, char** argv) {
    PrepareConsole();
    const ParseResult parsed = ParseSayArguments(Utf8Arguments(argc, argv));
    if (!parsed.Ok()) {
        Complain(parsed.error);
        return kExitBadInput;
    }
    const SayOptions& options = parsed.options;
    if (options.help) {
        std::fputs(SayUsage().c_str(), stdout);
        return 0;
    }

    const AppPaths paths = CurrentAppPaths();
    const Moment moment = options.at ? *options.at : SystemClock().Now();
    SettingsRecord settings = LoadedSettings(paths);
    if (options.format) {
        settings.AnnounceFormat = *options.format;
    }
    const LocaleText& locale = SystemLocale();

    if (options.print || options.wavPath) {
        const std::vector<std::string> texts = AnnouncementClipTexts(
            moment, settings.AnnounceFormat, locale.AmDesignator(), locale.PmDesignator());
        if (options.wavPath) {
            if (const int status = RenderWav(texts, paths.soundFolder, *options.wavPath)) {
                return status;
            }
        }
        if (options.print) {
            std::printf("%s\n", JoinTexts(texts).c_str());
        }
        return 0;
    }

    NoEvents pump;
    ClipPlayer& player = SystemClipPlayer();
    语音报时 announcer(player, pump, locale, paths.soundFolder, settings);
    announcer.Announce(moment);
    if (!player.Finish()) {
        Complain("nothing could be played: no sound server or no output device was found");
        return kExitNoSound;
    }
    return 0;
}

}  // namespace
}  // namespace horalia::say

int main(int argc, char** argv) {
    return horalia::say::Run(argc, argv);
}
