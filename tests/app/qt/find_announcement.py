#!/usr/bin/env python3
"""Finds an announcement in a recording: the chime 提示 first, then the clip 现在时间 right after it,
then more speech. Compares loudness envelopes (RMS over 20 ms windows) of the recording with
those of the clips themselves, so that silence, noise or the wrong clip does not pass.

    find_announcement.py RECORDING.raw SOUND_FOLDER
RECORDING.raw: signed 16-bit little-endian mono samples at 22050 Hz, as the clips are.
"""
import array
import math
import sys
import wave

WINDOW = 441  # 20 ms at 22050 Hz
SILENCE_RMS = 100.0  # of 32768: far above a null sink's digital silence, far below speech


def envelope(samples):
    env = []
    for start in range(0, len(samples) - WINDOW + 1, WINDOW):
        chunk = samples[start:start + WINDOW]
        env.append(math.sqrt(sum(s * s for s in chunk) / WINDOW))
    return env


def read_clip(path):
    with wave.open(path) as clip:
        assert clip.getnchannels() == 1 and clip.getsampwidth() == 2, path
        data = array.array("h", clip.readframes(clip.getnframes()))
    if sys.byteorder == "big":
        data.byteswap()
    return envelope(data)


def correlation(a, b):
    n = min(len(a), len(b))
    if n < 5:
        return 0.0
    a, b = a[:n], b[:n]
    ma, mb = sum(a) / n, sum(b) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    va = sum((x - ma) ** 2 for x in a)
    vb = sum((y - mb) ** 2 for y in b)
    return cov / math.sqrt(va * vb) if va > 0 and vb > 0 else 0.0


def best_match(recording, clip, first, last):
    """The window in [first, last] where the clip's envelope fits the recording best."""
    scored = [(correlation(recording[i:], clip), i) for i in range(max(first, 0), last + 1)]
    return max(scored) if scored else (0.0, first)


def main(recording_path, sound_folder):
    with open(recording_path, "rb") as raw:
        data = array.array("h")
        payload = raw.read()
        data.frombytes(payload[:len(payload) // 2 * 2])
    if sys.byteorder == "big":
        data.byteswap()
    recording = envelope(data)
    chime = read_clip(sound_folder + "/提示.wav")
    words = read_clip(sound_folder + "/现在时间.wav")

    onset = next((i for i, v in enumerate(recording) if v > SILENCE_RMS), None)
    if onset is None:
        print("find_announcement: the recording is silent (%d windows)" % len(recording))
        return 1
    chime_fit, chime_at = best_match(recording, chime, onset - 3, onset + 3)
    chime_end = chime_at + len(chime)
    words_fit, words_at = best_match(recording, words, chime_end - 5, chime_end + 15)
    after = recording[words_at + len(words):]
    more_speech_s = sum(1 for v in after if v > SILENCE_RMS) * WINDOW / 22050
    print("find_announcement: chime at %.2f s (fit %.3f); 现在时间 %d ms after it (fit %.3f); "
          "%.2f s of further speech" % (chime_at * 0.02, chime_fit, (words_at - chime_end) * 20,
                                        words_fit, more_speech_s))
    ok = chime_fit > 0.9 and words_fit > 0.9 and more_speech_s > 1.0
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
