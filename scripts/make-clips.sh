#!/usr/bin/env bash
# Regenerates the 23 voice clips in resources/Sound/.
#
# Every spoken clip is synthesised by espeak-ng's Mandarin voice, trimmed of the silence before
# and after the word, given a short tail so that consecutive clips do not run into each other,
# and normalised to one peak level. The chime 提示 is a two-tone ding-dong made with sox.
# All clips share one format: RIFF WAVE, 16-bit signed PCM, mono, 22050 Hz.
#
# The output is reproducible: no dither and no random noise are used, so running the script
# again on the same espeak-ng and sox versions gives byte-identical files.
#
# Usage: scripts/make-clips.sh [output-folder]   (default: resources/Sound beside this script)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="${1:-$here/../resources/Sound}"

for tool in espeak-ng sox; do
  command -v "$tool" >/dev/null || { echo "make-clips: $tool is not installed" >&2; exit 1; }
done

# The "cmn" voice of espeak-ng 1.51 reads the tone numbers of its pinyin as English words
# ("yi1" comes out as "yi one"); the pinyin variant of the same Mandarin voice speaks the tones.
voice="cmn-latn-pinyin"
speed=135    # words per minute; a little slower than the default 175, for clear single words
pitch=55     # 0-99, default 50
rate=22050
level=-3     # peak level of every clip, dBFS

# sox: -D no dither (reproducible), -V1 errors only.
sox_opts=(-D -V1)
format=(-r "$rate" -c 1 -b 16 -e signed-integer)

words=(现在时间 上午 下午 零 一 二 三 四 五 六 七 八 九 十 点 整 分 今天是 年 月 日 星期)

mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

for word in "${words[@]}"; do
  raw="$tmp/raw.wav"
  espeak-ng -v "$voice" -s "$speed" -p "$pitch" -a 100 -w "$raw" -- "$word"
  # Trim the leading silence, then (by reversing) the trailing one. A 15 ms fade applied while
  # the audio is reversed becomes the fade-out; with the 5 ms fade-in after it the cut edges are
  # click-free. 60 ms of tail separate the words of a sentence.
  sox "${sox_opts[@]}" "$raw" "${format[@]}" "$out/$word.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% fade q 0.015 reverse \
    fade q 0.005 \
    pad 0 0.06 \
    rate -v "$rate" norm "$level"
done

# 提示: a ding (E5, 659 Hz) and a dong (C5, 523 Hz), each a sine with a weak third harmonic
# under a bell-like exponential decay; the dong starts 0.3 s after the ding, 0.8 s in all.
# The decay is sox's logarithmic fade (linear in dB) stretched over 1.5 s, of which the first
# 0.5 s are kept (down about 33 dB at the cut), then a short linear fade ends it without a click.
tone() {  # tone <frequency> <output>
  sox "${sox_opts[@]}" -r "$rate" -c 2 -n -b 16 -e signed-integer "$2" \
    synth 1.5 sine "$1" sine "$(($1 * 3))" \
    remix 1v0.85,2v0.15 \
    fade l 0.008 1.5 1.49 \
    trim 0 0.5 \
    fade t 0 0.5 0.08
}
tone 659 "$tmp/ding.wav"
tone 523 "$tmp/dong.wav"
sox "${sox_opts[@]}" "$tmp/dong.wav" "$tmp/dong-late.wav" pad 0.3 0
sox "${sox_opts[@]}" -m "$tmp/ding.wav" "$tmp/dong-late.wav" "${format[@]}" "$out/提示.wav" \
  norm "$level"

echo "make-clips: wrote $((${#words[@]} + 1)) clips to $out"
