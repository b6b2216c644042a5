// horalia-say: prints, plays or renders one announcement.
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "common/app_paths.h"
#include "common/identity.h"
#include "common/locale_text.h"
#include "common/utf8_path.h"
#include "common/zone_clock.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/small_files.h"
#include "config/start_with_system.h"
#include "timesync/time_server.h"
#include "tools/say/check_time.h"
#include "tools/say/file_io.h"
#include "tools/say/render.h"
#include "tools/say/say_options.h"
#include "tools/say/say_platform.h"
#include "voice/announcer.h"
#include "voice/clip_player.h"
#include "voice/clip_sequence.h"
#include "voice/schedule.h"
#include "voice/sentence_player.h"

namespace horalia::say {
namespace {

constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitNoSound = 3;

// The main thread as the user-interface thread: it runs what the player's thread hands it until
// the announcement is over.
class TaskQueue final : public UiThread {
  public:
    void Post(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        posted_.notify_one();
    }

    void RunUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::function<void()> task;
            {
                std::unique_lock lock(mutex_);
                posted_.wait(lock, [this] { return !tasks_.empty(); });
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

  private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
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
              const AnnouncementOptions& announcement, const std::string& output) {
    std::vector<std::string> paths;
    for (const std::string& text : texts) {
        paths.push_back(ClipPath(text, soundFolder, announcement.voiceFolder, ClipFileExists));
    }
    Rendering rendering = RenderClips(paths, ReadWholeFile);
    if (!rendering.Ok()) {
        Complain(rendering.error);
        return kExitFailure;
    }
    audio::ApplyVolume(rendering.pcm.samples, announcement.volume);
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

int CheckVoice(const std::string& folder, char separator) {
    std::error_code error;
    if (!std::filesystem::is_directory(Utf8Path(folder), error)) {
        Complain("--check-voice: there is no folder " + folder);
        return kExitFailure;
    }
    const std::vector<std::string> problems = VoiceProblems(folder, separator, ReadWholeFile);
    for (const std::string& problem : problems) {
        std::printf("%s\n", problem.c_str());
    }
    if (problems.empty()) {
        std::printf("all %s clips can be played\n",
                    std::to_string(std::size(kAllClipTexts)).c_str());
    }
    return problems.empty() ? 0 : kExitFailure;
}

// The shipped holiday notices with the person's 节假日.txt beside Value.ini.
WorkingDayCalendar LoadedWorkingDays(const AppPaths& paths) {
    WorkingDayCalendar workingDays;
    const FileContent file =
        SystemFiles().Read(HolidayFilePath(paths.iniPath), kHolidayFileMaxBytes);
    if (file.status == ReadStatus::kOk) {
        workingDays.AddFileText(file.bytes);
    }
    return workingDays;
}

void PrintSchedule(const Moment& from, SettingsRecord settings, const SayOptions& options,
                   const AppPaths& paths) {
    const WorkingDayCalendar workingDays = LoadedWorkingDays(paths);
    settings.QuietPeriods = options.quietPeriods.value_or(settings.QuietPeriods);
    settings.AnnounceInterval = options.interval.value_or(settings.AnnounceInterval);
    settings.AnnounceDays = options.days.value_or(settings.AnnounceDays);
    const std::vector<Moment> moments =
        NextScheduledMoments(SystemZoneClock(), from, settings, workingDays,
                             options.count.value_or(kDefaultScheduleCount));
    // A year of the list whose working days are guessed is named once, before the list.
    std::set<int> guessedYears;
    for (const Moment& m : moments) {
        if (const std::optional<int> year = YearWithoutHolidayData(m, settings, workingDays)) {
            if (guessedYears.insert(*year).second) {
                Complain("no holiday data for " + std::to_string(*year) +
                         ": 工作日 counts Monday to Friday; add its days to " +
                         HolidayFilePath(paths.iniPath));
            }
        }
    }
    for (const Moment& m : moments) {
        std::printf("%04d-%02d-%02d %02d:%02d:%02d\n", m.year, m.month, m.day, m.hour, m.minute,
                    m.second);
    }
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
    if (options.version) {
        std::printf("horalia-say %s\n", kProgramVersion);
        return 0;
    }

    if (options.checkTime) {
        const std::vector<ServerAddress> servers =
            options.checkTime->empty()
                ? TimeServersOrBuiltIn(LoadedSettings(CurrentAppPaths()).TimeServers)
                : *options.checkTime;
        const CheckTimeReport report =
            CheckTime(*SystemDaytimeConnection(), SystemZoneClock(), servers);
        if (!report.error.empty()) {
            Complain(report.error);
        } else {
            std::printf("%s\n", report.output.c_str());
        }
        return report.status;
    }

    if (options.removeStartEntries) {
        if (!RemoveEveryStartEntry()) {
            Complain(
                "a start entry could not be removed (another person's needs administrator "
                "rights)");
            return kExitFailure;
        }
        return 0;
    }

    const AppPaths paths = CurrentAppPaths();
    const char separator = paths.soundFolder.empty() ? '/' : paths.soundFolder.back();
    if (options.checkVoice) {
        return CheckVoice(*options.checkVoice, separator);
    }
    const SettingsRecord settings = LoadedSettings(paths);
    if (options.schedule) {
        PrintSchedule(options.from ? *options.from : SystemClock().Now(), settings, options, paths);
        return 0;
    }
    const Moment moment = options.at ? *options.at : SystemClock().Now();
    // The settings as the tray program would announce with them, then the command line's choices.
    AnnouncementOptions announcement{settings.AnnounceFormat, settings.NaturalReading == 1,
                                     settings.Volume, settings.VoiceFolder, settings.LunarMode};
    if (options.format) {
        announcement.format = *options.format;
    }
    if (options.natural) {
        announcement.naturalReading = true;
    }
    if (options.lunar) {
        announcement.lunar = *options.lunar;
    }
    if (options.voiceFolder) {
        announcement.voiceFolder = *options.voiceFolder;
    }
    if (options.volume) {
        announcement.volume = *options.volume;
    }

    if (options.print || options.wavPath) {
        const std::vector<std::string> texts = AnnouncementClipTexts(
            moment, announcement.format, announcement.naturalReading, announcement.lunar);
        if (options.wavPath) {
            if (const int status =
                    RenderWav(texts, paths.soundFolder, announcement, *options.wavPath)) {
                return status;
            }
        }
        if (options.print) {
            std::printf("%s\n", JoinTexts(texts).c_str());
        }
        return 0;
    }

    TaskQueue mainThread;
    ClipPlayer& player = SystemClipPlayer();
    语音报时 announcer(player, mainThread, paths.soundFolder);
    announcer.Announce(moment, [&announcement] { return announcement; });
    mainThread.RunUntil([&announcer] { return !announcer.Announcing(); });
    const ClipPlayer::PartEnd end = announcer.LastAnnouncementEnd();
    if (end == ClipPlayer::PartEnd::kDropped) {
        Complain("the sound output took nothing for " +
                 std::to_string(audio::SentencePlayer::kLateLimit.count() / 1000) +
                 " seconds: the announcement was dropped rather than spoken late");
        return kExitNoSound;
    }
    if (!player.Finish() || end == ClipPlayer::PartEnd::kNoOutput) {
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
