// How long the listener waits between the words of an announcement. The announcement is played
// to a PulseAudio sink (a null sink, set up by scripts/bench-gaps.sh) while the sink's monitor
// is recorded: by the real clip player in this process, or by a command run once per
// announcement (--command, for the Windows build under Wine). Each clip is then found in the
// recording, and a gap is the silence between two clips beyond the silence the clip files hold
// at their own ends. Also reported: the delay from the first Play call (or the command's start)
// to the first sound, and how closely each clip's recording matches the clip (a chime that
// loses its attack shows there).
#include <benchmark/benchmark.h>
#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "common/identity.h"
#include "voice/clip_player.h"
#include "voice/clip_sequence.h"
#include "voice/sentence_player.h"
#include "voice/wav_audio.h"

namespace horalia::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// A sample at or below this magnitude (about -54 dBFS) counts as silence.
constexpr int kSilence = 64;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
// Recording before the first and after the last clip, so neither end is cut.
constexpr auto kMargin = std::chrono::milliseconds(300);

struct Options {
    fs::path soundFolder;
    std::string monitor = "@DEFAULT_MONITOR@";
    std::string command;  // plays one announcement; empty: this process plays it
    int runs = 5;
    fs::path save;  // prefix of each run's recording, as WAV, to look at when numbers surprise
};

struct Clip {
    std::string text;
    std::string path;
    audio::Pcm pcm;
    std::size_t lead = 0;   // silent frames before the first sound
    std::size_t trail = 0;  // silent frames after the last sound
};

struct RunResult {
    double delayMs = 0;
    std::vector<double> gapsMs;
    double exactShare = 0;  // of the clips' samples found unchanged in the recording
    double chimeMatch = 0;  // correlation of the recorded chime with the clip, 1 = the same
    double worstMatch = 0;  // the lowest such correlation over all clips
    int damaged = 0;        // clips that did not come through whole (a dropout, a lost start)
};

// Recording and clip may differ by a few samples where the sink resamples: each clip's position
// is refined within this many frames of where its first sound was found.
constexpr std::ptrdiff_t kAlignFrames = 64;
// A clip whose recording correlates with it at least this well came through whole.
constexpr double kWholeMatch = 0.9;

bool IsSound(std::int16_t sample) {
    return sample > kSilence || sample < -kSilence;
}

std::size_t FirstSound(const std::vector<std::int16_t>& samples, std::size_t from) {
    const auto it =
        std::find_if(samples.begin() + static_cast<std::ptrdiff_t>(from), samples.end(), IsSound);
    return it == samples.end() ? kNone : static_cast<std::size_t>(it - samples.begin());
}

std::size_t TrailingSilence(const std::vector<std::int16_t>& samples) {
    const auto it = std::find_if(samples.rbegin(), samples.rend(), IsSound);
    return static_cast<std::size_t>(it - samples.rbegin());
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Worst(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::optional<Clip> LoadClip(const fs::path& folder, const std::string& text, std::string& error) {
    const fs::path path = folder / (text + ".wav");
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    std::optional<audio::Pcm> pcm = audio::ParseWav(bytes, &error);
    if (!pcm || pcm->format.channels != 1) {
        error = path.string() + ": " + (pcm ? "not mono" : error);
        return std::nullopt;
    }
    Clip clip{text, path.string(), std::move(*pcm)};
    const std::size_t first = FirstSound(clip.pcm.samples, 0);
    if (first == kNone) {
        error = path.string() + ": no sound in it";
        return std::nullopt;
    }
    clip.lead = first;
    clip.trail = TrailingSilence(clip.pcm.samples);
    return clip;
}

// The announcement of 13:45 in format 0: 提示 现在时间 下午 一 点 四 十 五 分.
std::optional<std::vector<Clip>> LoadAnnouncement(const fs::path& folder, std::string& error) {
    const Moment moment{2026, 12, 7, 13, 45, 0, 0};
    std::vector<Clip> clips;
    for (const std::string& text : AnnouncementClipTexts(moment, 0)) {
        std::optional<Clip> clip = LoadClip(folder, text, error);
        if (!clip) {
            return std::nullopt;
        }
        if (!clips.empty() && clip->pcm.format != clips.front().pcm.format) {
            error = clip->path + ": not in the format of the other clips";
            return std::nullopt;
        }
        clips.push_back(std::move(*clip));
    }
    return clips;
}

// Records a source on a thread of its own and maps sample positions to clock time: sample 0
// was captured at the earliest of (arrival time of a block - duration of everything received).
class MonitorRecorder {
  public:
    bool Start(const std::string& device, const audio::PcmFormat& format, std::string& error) {
        rate_ = format.sampleRate;
        const pa_sample_spec sampleFormat{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(rate_), 1};
        constexpr std::uint32_t kDefault = static_cast<std::uint32_t>(-1);
        const pa_buffer_attr buffer{kDefault, kDefault, kDefault, kDefault, kBlockBytes};
        int code = 0;
        stream_ = pa_simple_new(nullptr, kProgramName, PA_STREAM_RECORD, device.c_str(),
                                "gap benchmark", &sampleFormat, nullptr, &buffer, &code);
        if (stream_ == nullptr) {
            error = "cannot record " + device + ": " + pa_strerror(code);
            return false;
        }
        thread_ = std::thread([this] { Loop(); });
        return true;
    }

    // Ends the recording; false when it broke off.
    bool Stop() {
        stop_ = true;
        thread_.join();
        pa_simple_free(stream_);
        stream_ = nullptr;
        return !failed_;
    }

    // An idle null sink wakes only every two seconds, so a new recording may see its first
    // block that late; the measurement starts once blocks flow.
    bool WaitForData(std::chrono::seconds timeout) const {
        const Clock::time_point deadline = Clock::now() + timeout;
        while (blocks_ == 0 && !failed_ && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return blocks_ > 0;
    }

    const std::vector<std::int16_t>& Samples() const { return samples_; }

    Clock::time_point TimeOf(std::size_t sample) const {
        return origin_ + std::chrono::duration_cast<Clock::duration>(
                             std::chrono::duration<double>(static_cast<double>(sample) / rate_));
    }

  private:
    static constexpr std::uint32_t kBlockBytes = 256 * sizeof(std::int16_t);

    void Loop() {
        std::int16_t block[kBlockBytes / sizeof(std::int16_t)];
        while (!stop_) {
            if (pa_simple_read(stream_, block, sizeof block, nullptr) < 0) {
                failed_ = true;
                return;
            }
            const Clock::time_point arrived = Clock::now();
            samples_.insert(samples_.end(), std::begin(block), std::end(block));
            const Clock::time_point origin =
                arrived - std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                              static_cast<double>(samples_.size()) / rate_));
            origin_ = std::min(origin_, origin);
            ++blocks_;
        }
    }

    pa_simple* stream_ = nullptr;
    int rate_ = 1;
    std::thread thread_;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> failed_ = false;
    std::atomic<int> blocks_ = 0;
    std::vector<std::int16_t> samples_;
    Clock::time_point origin_ = Clock::time_point::max();
};

// Normalised correlation of the clip with the recording from start on.
double Match(const std::vector<std::int16_t>& recording, std::size_t start, const Clip& clip) {
    double both = 0;
    double rec = 0;
    double own = 0;
    for (std::size_t k = 0; k < clip.pcm.samples.size(); ++k) {
        const double r = recording[start + k];
        const double c = clip.pcm.samples[k];
        both += r * c;
        rec += r * r;
        own += c * c;
    }
    return rec > 0 && own > 0 ? both / std::sqrt(rec * own) : 0;
}

// Where the clip matches the recording best within reach frames of around, every step frames;
// only positions where the whole clip fits are tried.
std::pair<std::size_t, double> BestMatch(const std::vector<std::int16_t>& recording,
                                         const Clip& clip, std::size_t around, std::ptrdiff_t reach,
                                         std::ptrdiff_t step) {
    std::pair<std::size_t, double> best{around, -2};
    const auto limit = static_cast<std::ptrdiff_t>(recording.size() - clip.pcm.samples.size());
    for (std::ptrdiff_t shift = -reach; shift <= reach; shift += step) {
        const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(around) + shift;
        if (at < 0 || at > limit) {
            continue;
        }
        if (const double m = Match(recording, static_cast<std::size_t>(at), clip);
            m > best.second) {
            best = {static_cast<std::size_t>(at), m};
        }
    }
    return best;
}

// Finds the clips one after another: the first sound after the previous clip's last sound is
// the next clip's first sound, less the clip's own leading silence; the position is then moved
// to where the recording matches the clip best.
std::optional<RunResult> Analyse(const MonitorRecorder& recorder, const std::vector<Clip>& clips,
                                 Clock::time_point call, std::string& error) {
    const std::vector<std::int16_t>& recording = recorder.Samples();
    const double msPerFrame = 1000.0 / clips.front().pcm.format.sampleRate;
    RunResult result;
    result.worstMatch = 1;
    std::size_t cursor = 0;
    std::size_t previousEnd = 0;
    std::size_t exact = 0;
    std::size_t total = 0;
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const Clip& clip = clips[i];
        const std::size_t length = clip.pcm.samples.size();
        const std::size_t sound = FirstSound(recording, cursor);
        if (sound == kNone || sound < clip.lead ||
            sound - clip.lead + length + kAlignFrames > recording.size()) {
            error = "clip " + clip.text + " not found whole in the recording of " +
                    std::to_string(recording.size()) + " samples";
            return std::nullopt;
        }
        auto [start, match] = BestMatch(recording, clip, sound - clip.lead, kAlignFrames, 1);
        if (match < kWholeMatch && i > 0) {
            // The previous clip broke off or was stretched (a dropout): its rest was taken for
            // this clip's start. Look for this clip across a wider stretch instead.
            const auto wide = static_cast<std::ptrdiff_t>(clips.front().pcm.format.sampleRate / 2);
            const std::size_t coarse = BestMatch(recording, clip, sound - clip.lead, wide, 8).first;
            std::tie(start, match) = BestMatch(recording, clip, coarse, 8, 1);
        }
        result.worstMatch = std::min(result.worstMatch, match);
        result.damaged += match < kWholeMatch ? 1 : 0;
        if (i == 0) {
            result.chimeMatch = match;
            result.delayMs = Milliseconds(recorder.TimeOf(sound) - call).count();
        } else {
            const double gap = static_cast<double>(start) - static_cast<double>(previousEnd);
            result.gapsMs.push_back(gap * msPerFrame);
        }
        for (std::size_t k = 0; k < length; ++k) {
            exact += recording[start + k] == clip.pcm.samples[k] ? 1 : 0;
        }
        total += length;
        previousEnd = start + length;
        // From just after the clip's last sound; the margin keeps a position found a few
        // samples early (a resampled recording) from taking that sound for the next clip's.
        cursor = previousEnd - clip.trail + std::min<std::size_t>(clip.trail / 2, kAlignFrames);
    }
    result.exactShare = static_cast<double>(exact) / static_cast<double>(total);
    return result;
}

Options options;
std::vector<Clip> announcement;
std::vector<double> allDelays;
std::vector<double> allGaps;
std::vector<double> chimeMatches;
int damagedClips = 0;
int runsDone = 0;

void AnnouncementGaps(benchmark::State& state) {
    for (auto _ : state) {
        if (options.command.empty()) {
            // Each run starts as an hourly chime does: after the player has closed its idle
            // stream.
            std::this_thread::sleep_for(audio::SentencePlayer::kIdleClose +
                                        std::chrono::milliseconds(500));
        }
        std::string error;
        MonitorRecorder recorder;
        if (!recorder.Start(options.monitor, announcement.front().pcm.format, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        if (!recorder.WaitForData(std::chrono::seconds(5))) {
            recorder.Stop();
            state.SkipWithError("no sound data from the monitor");
            return;
        }
        std::this_thread::sleep_for(kMargin);
        const Clock::time_point call = Clock::now();
        if (options.command.empty()) {
            // As an announcement hands it: the chime, then the rest once the chime is queued.
            ClipPlayer& player = SystemClipPlayer();
            SentencePart rest;
            for (std::size_t i = 1; i < announcement.size(); ++i) {
                rest.clips.push_back(announcement[i].path);
            }
            std::promise<void> restQueued;
            player.Play({{announcement.front().path}}, [&](ClipPlayer::PartEnd) {
                player.Play(rest, [&](ClipPlayer::PartEnd) { restQueued.set_value(); });
            });
            restQueued.get_future().wait();
            player.Finish();
        } else if (const int status = std::system(options.command.c_str()); status != 0) {
            recorder.Stop();
            error = "the command failed with status " + std::to_string(status);
            state.SkipWithError(error.c_str());
            return;
        }
        const Clock::time_point done = Clock::now();
        std::this_thread::sleep_for(kMargin);
        const bool whole = recorder.Stop();
        if (!options.save.empty()) {
            const std::vector<std::uint8_t> wav =
                audio::EncodeWav({announcement.front().pcm.format, recorder.Samples()});
            fs::path file = options.save;
            file += "-" + std::to_string(runsDone + 1) + ".wav";
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(wav.data()),
                       static_cast<std::streamsize>(wav.size()));
        }
        std::optional<RunResult> result;
        if (whole) {
            result = Analyse(recorder, announcement, call, error);
        } else {
            error = "the recording broke off";
        }
        if (!result) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(done - call).count());
        state.counters["delay_ms"] = result->delayMs;
        state.counters["gap_median_ms"] = Median(result->gapsMs);
        state.counters["gap_worst_ms"] = Worst(result->gapsMs);
        state.counters["exact"] = result->exactShare;
        state.counters["chime_match"] = result->chimeMatch;
        allDelays.push_back(result->delayMs);
        allGaps.insert(allGaps.end(), result->gapsMs.begin(), result->gapsMs.end());
        chimeMatches.push_back(result->chimeMatch);
        damagedClips += result->damaged;
        std::fprintf(stderr, "run %d: delay %.1f ms; gaps (ms):", ++runsDone, result->delayMs);
        for (const double gap : result->gapsMs) {
            std::fprintf(stderr, " %.1f", gap);
        }
        std::fprintf(stderr,
                     "; %.1f%% of samples unchanged; match with the clips: chime %.3f, worst "
                     "%.3f\n",
                     100 * result->exactShare, result->chimeMatch, result->worstMatch);
    }
}

fs::path DefaultSoundFolder() {
    std::error_code error;
    const fs::path beside = fs::read_symlink("/proc/self/exe", error).parent_path() / "Sound";
    return fs::is_directory(beside, error) ? beside : fs::path(HORALIA_SOURCE_SOUND_DIR);
}

// Takes --sound=DIR, --monitor=SOURCE, --runs=N and --save=FILE; false on anything else.
bool ParseOptions(int argc, char** argv) {
    options.soundFolder = DefaultSoundFolder();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--sound=")) {
            options.soundFolder = arg.substr(8);
        } else if (arg.starts_with("--monitor=")) {
            options.monitor = arg.substr(10);
        } else if (arg.starts_with("--save=")) {
            options.save = arg.substr(7);
        } else if (arg.starts_with("--command=")) {
            options.command = arg.substr(10);
        } else if (arg.starts_with("--runs=")) {
            options.runs = std::atoi(argv[i] + 7);
        } else {
            return false;
        }
    }
    return options.runs > 0;
}

void PrintSummary() {
    std::string texts;
    for (const Clip& clip : announcement) {
        texts += (texts.empty() ? "" : " ") + clip.text;
    }
    std::printf("\nannouncement: %s (%zu runs)\n", texts.c_str(), allDelays.size());
    std::printf("delay from the call to the first sound: median %.1f ms, worst %.1f ms\n",
                Median(allDelays), Worst(allDelays));
    std::printf("gap between clips (%zu gaps): median %.1f ms, worst %.1f ms\n", allGaps.size(),
                Median(allGaps), Worst(allGaps));
    const double chime =
        chimeMatches.empty() ? 0 : *std::min_element(chimeMatches.begin(), chimeMatches.end());
    std::printf("chime as recorded against the clip: worst correlation %.3f (%s)\n", chime,
                chime >= kWholeMatch ? "whole" : "part of it is lost");
    std::printf("clips that did not come through whole: %d of %zu\n", damagedClips,
                announcement.size() * allDelays.size());
}

int Main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!ParseOptions(argc, argv)) {
        std::fprintf(
            stderr,
            "usage: %s [benchmark options] [--sound=DIR] [--monitor=SOURCE] [--runs=N]\n"
            "          [--save=FILE] [--command=COMMAND]\n"
            "Plays an announcement while recording SOURCE (default @DEFAULT_MONITOR@);\n"
            "run it through scripts/bench-gaps.sh, which provides a null sink. --save writes\n"
            "each run's recording to FILE-N.wav. --command runs COMMAND (through the\n"
            "shell) once per run to play 提示 现在时间 下午 一 点 四 十 五 分 instead; the delay\n"
            "is then counted from its start.\n",
            argv[0]);
        return 2;
    }
    std::string error;
    std::optional<std::vector<Clip>> clips = LoadAnnouncement(options.soundFolder, error);
    if (!clips) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    announcement = std::move(*clips);
    benchmark::RegisterBenchmark("AnnouncementGaps", AnnouncementGaps)
        ->Iterations(1)
        ->Repetitions(options.runs)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return Worst(v); });
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return allGaps.empty() ? 1 : 0;
}

}  // namespace
}  // namespace horalia::bench

int main(int argc, char** argv) {
    return horalia::bench::Main(argc, argv);
}
