#!/usr/bin/env bash
# Regenerates the voice clips in resources/Sound/, one for every text of resources/clips.txt.
#
# Every spoken clip is synthesised by espeak-ng's Mandarin voice, trimmed of the silence before
# and after the word, given a short tail so that consecutive words of a phrase stay apart, and
# brought to one loudness: the RMS level of its sounding part (pauses inside the word left out)
# is set to the same value for every word. The two clips that open a phrase, 现在时间 and
# 今天是, begin with a pause of their own, which is the pause a listener hears after the chime
# and between the date and the time. The chime 提示 is a two-note bell made with sox that rings
# out, set below the speech.
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
speed=135         # words per minute; a little slower than the default 175, for clear single words
pitch=55          # 0-99, default 50
rate=22050
speech_rms=-20    # RMS level of the sounding part of every spoken clip, dBFS
chime_rms=-25     # the same for the chime: 5 dB below the speech
word_tail=0.08    # seconds of silence after every word, so the words of a phrase stay apart
phrase_lead=0.22  # seconds of silence before the first word of a phrase

# sox: -D no dither (reproducible), -V1 errors only.
sox_opts=(-D -V1)
format=(-r "$rate" -c 1 -b 16 -e signed-integer)

# Every clip of resources/clips.txt but the chime (提示), which is made below.
mapfile -t words < <(grep -v '^#' "$here/../resources/clips.txt" | grep -vx '提示')
phrase_openers=" 现在时间 今天是 "

# Words whose characters espeak-ng reads with another of their readings (its phoneme output,
# espeak-ng -x, shows it): these are spoken from their pinyin instead. 正月 is zhēng yuè, not
# zhèng; 子 alone, the earthly branch, is zǐ, not the toneless suffix; 芒种 is zhòng, not zhǒng;
# 处暑 is chǔ, not chù; 重阳 is chóng, not zhòng.
declare -A pinyin=(
  [正月]="zheng1 yue4"
  [子]="zi3"
  [芒种]="mang2 zhong4"
  [处暑]="chu3 shu3"
  [重阳节]="chong2 yang2 jie2"
)

mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The RMS level (dBFS) of the sounding part of a file: every stretch quieter than 1 % of full
# scale (-40 dBFS) for 10 ms or more is cut out before sox measures it.
active_rms() {
  sox "${sox_opts[@]}" "$1" -n silence 1 0.01 1% -1 0.01 1% stats 2>&1 |
    awk '/^RMS lev dB/ { print $4 }'
}

# The gain that brings a file's sounding part to the given level.
gain_to() {  # gain_to <file> <level>
  awk -v have="$(active_rms "$1")" -v want="$2" 'BEGIN { printf "%.2f", want - have }'
}

for word in "${words[@]}"; do
  raw="$tmp/raw.wav"
  trimmed="$tmp/trimmed.wav"
  espeak-ng -v "$voice" -s "$speed" -p "$pitch" -a 100 -w "$raw" -- "${pinyin[$word]:-$word}"
  # Trim the leading silence, then (by reversing) the trailing one. A 15 ms fade applied while
  # the audio is reversed becomes the fade-out; with the 5 ms fade-in after it the cut edges are
  # click-free.
  sox "${sox_opts[@]}" "$raw" "${format[@]}" "$trimmed" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% fade q 0.015 reverse \
    fade q 0.005 rate -v "$rate"
  lead=0
  [[ $phrase_openers == *" $word "* ]] && lead=$phrase_lead
  sox "${sox_opts[@]}" "$trimmed" "$out/$word.wav" gain "$(gain_to "$trimmed" "$speech_rms")" \
    pad "$lead" "$word_tail"
done

# 提示: a bell that strikes twice, a ding (E5, 659 Hz) and 0.35 s later a dong (C5, 523 Hz).
# Each strike is a few partials, the higher ones quieter and shorter, each decaying
# exponentially: sox's logarithmic fade falls linearly in dB, 100 dB over its length, so the
# fundamental's fade, stretched over 2.8 s, leaves the chime 40 dB below its peak when the
# 1.15 s note ends; a last 80 ms linear fade then closes it without a click. The 3 ms onset is
# click-free.
note_length=1.15
partial() {  # partial <frequency> <amplitude> <decay seconds> <output>
  sox "${sox_opts[@]}" -r "$rate" -c 1 -n -b 16 -e signed-integer "$4" \
    synth "$3" sine "$1" vol "$2" fade l 0.003 "$3" "$(awk -v d="$3" 'BEGIN { print d - 0.003 }')" \
    pad 0 "$note_length" trim 0 "$note_length" fade t 0 "$note_length" 0.08
}
strike() {  # strike <fundamental> <output>
  local f=$1
  partial "$f" 0.60 2.8 "$tmp/p1.wav"
  partial "$(awk -v f="$f" 'BEGIN { print 2 * f }')" 0.25 2.00 "$tmp/p2.wav"
  partial "$(awk -v f="$f" 'BEGIN { print 3 * f }')" 0.10 1.20 "$tmp/p3.wav"
  partial "$(awk -v f="$f" 'BEGIN { print 4.2 * f }')" 0.05 0.70 "$tmp/p4.wav"
  sox "${sox_opts[@]}" -m -v 1 "$tmp/p1.wav" -v 1 "$tmp/p2.wav" -v 1 "$tmp/p3.wav" \
    -v 1 "$tmp/p4.wav" "$2"
}
strike 659 "$tmp/ding.wav"
strike 523 "$tmp/dong.wav"
sox "${sox_opts[@]}" "$tmp/dong.wav" "$tmp/dong-late.wav" pad 0.35 0
sox "${sox_opts[@]}" -m -v 1 "$tmp/ding.wav" -v 1 "$tmp/dong-late.wav" "$tmp/chime.wav"
# Twice: the quiet tail that the level measure leaves out depends on the level itself.
sox "${sox_opts[@]}" "$tmp/chime.wav" "$tmp/chime-1.wav" gain "$(gain_to "$tmp/chime.wav" "$chime_rms")"
sox "${sox_opts[@]}" "$tmp/chime-1.wav" "${format[@]}" "$out/提示.wav" \
  gain "$(gain_to "$tmp/chime-1.wav" "$chime_rms")"

echo "make-clips: wrote $((${#words[@]} + 1)) clips to $out"
