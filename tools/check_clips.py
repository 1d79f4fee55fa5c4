#!/usr/bin/env python3
"""Check every clip in resources/clips/catalogue.tsv against Talmo's clip rules.

Reads the WAV files byte by byte (layout, LIST/INFO text) and measures silence,
fades, peak, voiced loudness and speaking rate.  Prints the figures and exits
non-zero, listing each failure, if any clip breaks a rule.  Standard library only.
"""
import math
import os
import re
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLIP_DIR = os.path.join(ROOT, "resources", "clips")
SILENCE = 328
NUMBER_WORDS = (["0NOLL", "1ETT", "2TVA", "3TRE", "4FYRA", "5FEM", "6SEX", "7SJU", "8ATTA",
                 "9NIO", "10TIO", "11ELVA", "12TOLV"]
                + ["N%d" % n for n in range(13, 30)]
                + ["N%d" % n for n in range(30, 100, 10)] + ["N100", "N1000"])
SENTENCES = {"5GANGER6", "7DIV2A", "7DIV2B"}

failures = []


def check(ok, name, what):
    if not ok:
        failures.append("%s: %s" % (name, what))
    return ok


def parse(name, data):
    """Return (samples, info dict) after checking the exact byte layout."""
    u32 = lambda at: struct.unpack_from("<I", data, at)[0]
    u16 = lambda at: struct.unpack_from("<H", data, at)[0]
    check(data[0:4] == b"RIFF" and data[8:12] == b"WAVE", name, "not RIFF/WAVE")
    check(u32(4) == len(data) - 8, name, "RIFF size is not file size - 8")
    check(data[12:16] == b"fmt " and u32(16) == 16, name, "fmt chunk not 16 bytes at 12")
    check((u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)) == (1, 1, 8000, 16000, 2, 16),
          name, "format is not PCM mono 8000 Hz 16-bit")
    check(data[36:40] == b"data", name, "no data chunk at 36")
    n = u32(40)
    check(n % 2 == 0 and n > 0, name, "odd or empty data size")
    samples = struct.unpack_from("<%dh" % (n // 2), data, 44)
    at = 44 + n
    info = {}
    check(data[at:at + 4] == b"LIST" and data[at + 8:at + 12] == b"INFO", name, "no LIST/INFO after data")
    size = u32(at + 4)
    check(at + 8 + size == len(data), name, "LIST chunk does not end the file")
    check(len(data) % 2 == 0, name, "odd file size")
    pos, end = at + 12, at + 8 + size
    while pos + 8 <= end:
        key, length = data[pos:pos + 4].decode("ascii", "replace"), u32(pos + 4)
        value = data[pos + 8:pos + 8 + length]
        check(value.endswith(b"\0"), name, key + " not NUL-terminated")
        info[key] = value[:-1].decode("utf-8", "replace")
        pad = length % 2
        check(not pad or data[pos + 8 + length] == 0, name, key + " pad byte not zero")
        pos += 8 + length + pad
    check(pos == end, name, "LIST sub-chunks do not fill the chunk")
    check(sorted(info) == ["ICRD", "INAM", "ISFT"], name, "INFO keys are %s" % sorted(info))
    check(re.fullmatch(r"\d{4}-\d{2}-\d{2}", info.get("ICRD", "")) is not None, name, "bad ICRD")
    return samples, info


def voiced_dbfs(s):
    total, count = 0, 0
    for start in range(0, len(s) - 159, 160):
        energy = sum(v * v for v in s[start:start + 160])
        if math.sqrt(energy / 160) >= SILENCE:
            total, count = total + energy, count + 160
    return 20 * math.log10(math.sqrt(total / count) / 32768) if count else -math.inf


def main():
    rows = []
    with open(os.path.join(CLIP_DIR, "catalogue.tsv"), encoding="utf-8") as f:
        rows = [l.rstrip("\n").split("\t") for l in f if l.strip() and not l.startswith("#")]
    check(len(rows) == 77, "catalogue", "has %d rows, not 77" % len(rows))
    stats, total_bytes = {}, 0
    for category, name, text in rows:
        path = os.path.join(CLIP_DIR, category, name + ".wav")
        if not check(os.path.exists(path), name, "missing " + path):
            continue
        data = open(path, "rb").read()
        total_bytes += len(data)
        s, info = parse(name, data)
        check(info.get("INAM") == text, name, "INAM %r is not the text" % info.get("INAM"))
        loud = [i for i, v in enumerate(s) if abs(v) >= SILENCE]
        if not check(loud, name, "all silence"):
            continue
        lead, trail = loud[0], len(s) - 1 - loud[-1]
        peak = max(abs(v) for v in s)
        seconds = len(s) / 8000
        syllables = len(re.findall(r"[aeiouyåäö]+", text.lower()))
        rate = syllables / seconds
        rms = voiced_dbfs(s)
        stats[name] = (seconds, peak, rms, lead, trail, rate)
        check(lead <= 200, name, "leading silence %d samples" % lead)
        check(trail <= 200, name, "trailing silence %d samples" % trail)
        check(abs(s[0]) <= 32 and abs(s[-1]) <= 32, name, "no fade: ends %d, %d" % (s[0], s[-1]))
        check(16423 <= peak <= 30934, name, "peak %d out of range" % peak)
        check(32767 not in s and -32768 not in s, name, "clipped")
        check(rate <= 4.5, name, "%.2f syllables/s" % rate)
        check(0.35 <= seconds <= (4.5 if name in SENTENCES else 4.1), name, "lasts %.2f s" % seconds)

    def span(index, names=None):
        values = [v[index] for k, v in stats.items() if names is None or k in names]
        return min(values), max(values)

    numbers = span(2, NUMBER_WORDS)
    check(len([k for k in stats if k in NUMBER_WORDS]) == 39, "number words", "not all 39 present")
    check(numbers[1] - numbers[0] <= 3.0, "number words", "voiced RMS band %.2f dB" % (numbers[1] - numbers[0]))
    print("clips checked:        %d" % len(stats))
    print("duration:             %.3f .. %.3f s" % span(0))
    print("peak:                 %d .. %d" % span(1))
    print("voiced RMS, all:      %.2f .. %.2f dBFS" % span(2))
    print("voiced RMS, numbers:  %.2f .. %.2f dBFS (band %.2f dB)" % (numbers + (numbers[1] - numbers[0],)))
    print("max leading silence:  %d samples" % span(3)[1])
    print("max trailing silence: %d samples" % span(4)[1])
    print("max syllable rate:    %.2f /s" % span(5)[1])
    print("catalogue size:       %d bytes" % total_bytes)
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
