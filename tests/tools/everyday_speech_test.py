# SPDX-License-Identifier: MIT
"""The everyday style, measured over whole numbers as `talmo-say --wav --style everyday`
writes them, in every voice, with Praat's pitch from the audio: one main stress a
phrase, a Swede's pace, no seam at a join, an ending that falls and dies away, accent 2,
one t at ett|tusen, no thump.  The numbers are the first to make each join the number
speaker can make (tools/voice/joins.py, checked against talmo-say) and to end on each
clip a number can end on; and a few sayings of the readers of daily life (`talmo-say --as`),
whose unstressed words i, över and och must join like any clip.

    TALMO_SAY=build/app/talmo-say python3 tests/tools/everyday_speech_test.py
"""
import cmath
import math
import os
import re
import statistics
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "voice"))
import joins  # noqa: E402
import prosody  # noqa: E402

SAY = os.environ.get("TALMO_SAY", os.path.join(ROOT, "build", "app", "talmo-say"))
RATE = 8000
QUIET = 328  # -40 dBFS
MS = RATE // 1000
# Every voice, with where Praat looks for its pitch, Hz (as tools/make_clips.py measures).
PITCH_RANGE = {"male": (60, 300), "female": (120, 450)}


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    size = struct.unpack("<I", data[40:44])[0]
    return list(struct.unpack("<%dh" % (size // 2), data[44:44 + size]))


def db(x):
    return 10 * math.log10(max(sum(v * v for v in x) / max(len(x), 1), 1e-12) / 32768.0 ** 2)


def semitones(low, high):
    return 12 * math.log2(high / low)


def every_join():
    seen, numbers = set(), []
    for n in range(100000):
        clips = joins.everyday_clips(n)
        # Each clip a number ends on alone and after another (accent 2's rise from the phrase).
        keys = {"end%d %s" % (min(2, len(clips)), clips[-1][0])} | {
            "%s %s > %s %s" % (a + b) for a, b in zip(clips, clips[1:])}
        if keys - seen:
            seen |= keys
            numbers.append(n)
    return numbers


def thump(s):
    """Of a start 6 dB over the 15-35 ms after it, the first 10 ms's energy share under 500 Hz."""
    head = s[:10 * MS]
    power = [abs(sum(v * cmath.exp(-2j * math.pi * k * i / len(head)) for i, v in enumerate(head)))
             ** 2 for k in range(len(head) // 2 + 1)]
    return sum(power[:5]) / sum(power) if db(head) - db(s[15 * MS:35 * MS]) > 6 else 0.0


def spellings():
    with open(os.path.join(ROOT, "tools", "voice", "pronunciation.tsv"), encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip() and line[0] != "#"]
    return {row[0]: (row[3], prosody.parse(row[4])) for row in rows if len(row) == 6}


def praat_tracks(paths, voice):
    """{path: [(seconds, Hz)]} of every voiced frame, from one run of Praat."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as listing:
        listing.write("\n".join(paths) + "\n")
    try:
        out = subprocess.run(["praat", "--run", os.path.join(ROOT, "tools", "voice",
                                                              "pitch_track.praat"), listing.name]
                             + [str(hz) for hz in PITCH_RANGE[voice]],
                             stdout=subprocess.PIPE, check=True).stdout.decode()
    finally:
        os.unlink(listing.name)
    tracks, current = {}, None
    for line in out.splitlines():
        if line == "end":
            current = None
        elif current is None:
            current = tracks.setdefault(line, [])
        else:
            t, hz = line.split()
            current.append((float(t), float(hz)))
    return tracks


# Sayings of one phrase, no group pause: every join of a clitic, and each new last word.
SAYINGS = [("time", "15:25", "12-hour"), ("time", "15:15", "12-hour"), ("time", "15:35", "12-hour"),
           ("time", "15:20", "from the half"), ("time", "15:00", "12-hour"),
           ("time", "14:05", "24-hour"), ("price", "49,90", "kronor and öre"),
           ("price", "1,50", "kronor and öre"), ("price", "99,00", "spänn"),
           ("price", "2,00", "kronor"), ("price", "0,50", "kronor and öre"), ("year", "2005", "tjugo")]


def said_of(args):
    """[(clip, form)] of what talmo-say says, from its --recordings line."""
    out = subprocess.run([SAY, "--style", "everyday", "--recordings"] + args, check=True,
                         capture_output=True, text=True).stdout
    return [tuple(clip.split("/")) for clip in out.strip().split(", ")]


class EverydayStyle(unittest.TestCase):
    def test_every_join_in_every_voice(self):
        spelled = spellings()
        self.assertFalse(joins.check_against(SAY, count=20), "the rules differ from talmo-say's")
        items = [(str(n), [str(n)], joins.everyday_clips(n)) for n in every_join()]
        items += [(value, args, said_of(args)) for kind, value, way in SAYINGS
                  for args in [["--as", kind, value, "--way", way]]]
        for voice in PITCH_RANGE:
            with self.subTest(voice), tempfile.TemporaryDirectory() as scratch:
                paths = {}
                for i, (label, args, _) in enumerate(items):
                    paths[label] = os.path.join(scratch, "%d.wav" % i)
                    subprocess.run([SAY, "--voice", voice, "--style", "everyday", "--wav",
                                    paths[label]] + args, check=True)
                tracks = praat_tracks(list(paths.values()), voice)
                self.check_voice(voice, items, paths, tracks, spelled)

    def check_voice(self, voice, items, paths, tracks, spelled):
        # Each bar: its unit and its lowest and highest allowed value. accent 2: in a last
        # word, the valley under both highs, or the first high over the phrase, the less.
        bars = {"stress": ("st", 2.0, 99), "pace": ("syllables/s", 5.0, 6.5),
                "step": ("st", 0, 1.5), "level": ("dB", 0, 3.0), "gap": ("ms", 0, 10.0),
                "pause": ("ms", 80.0, 200.0), "ending": ("dB", 20.0, 99), "fall": ("st", 3.0, 99),
                "accent 2": ("st", 1.5, 99), "t": ("releases", 1, 1), "thump": ("share", 0, 0.6)}
        figures = {k: [] for k in bars}
        problems = []
        voiced_start = {c: phones[0].voiced for c, (_, phones) in spelled.items()}
        voiced_end = {c: phones[-1].voiced for c, (_, phones) in spelled.items()}
        for n, _, said in items:
            s = read_wav(paths[n])
            clips = [name for name, _ in said]
            # Where each clip lies: the lengths of the recordings the program embeds.
            starts = [0]
            for name, form in said:
                starts.append(starts[-1] + len(read_wav(os.path.join(
                    ROOT, "resources", "clips", voice, "everyday", form, name + ".wav"))))
            self.assertEqual(starts[-1], len(s), "%s is not its everyday recordings" % n)
            # Frames an octave off the voice are the tracker's, not the voice's: Praat
            # finds twice the pitch in the noise of a sj-sound.
            middle = statistics.median(hz for _, hz in tracks[paths[n]])
            track = [(t, hz) for t, hz in tracks[paths[n]] if middle / 1.6 < hz < middle * 1.6]

            def pitch_in(k):
                return [hz for t, hz in track if starts[k] <= t * RATE < starts[k + 1]]

            label = "%s (%s)" % (n, ", ".join(clips))
            ends = [k for k, (_, form) in enumerate(said) if form in ("last", "phrase-end")]
            first = 0
            for k in range(len(clips)):
                if said[k][1] == "closed":
                    # One long t: 5 ms frames of the first difference (the high frequencies)
                    # within 60 ms of the join, over -45 dB and 15 dB up within 10 ms, once a run.
                    hf = [db([b - a for a, b in zip(s[i:i + 5 * MS], s[i + 1:i + 1 + 5 * MS])])
                          for i in range(starts[k + 1] - 60 * MS, starts[k + 1] + 60 * MS, 5 * MS)]
                    up = [j > 1 and hf[j] > -45 and hf[j] - min(hf[j - 2:j]) >= 15 for j in range(len(hf))]
                    figures["t"].append((sum(a and not b for a, b in zip(up, [False] + up)), label))
                if k not in ends:
                    join = starts[k + 1]
                    a, b = pitch_in(k), pitch_in(k + 1)
                    # Across a voiceless sound a step is no seam: the voice steps to an accent.
                    if a and b and voiced_start[clips[k + 1]]:
                        # Each edge's pitch: the median of its three voiced frames nearest
                        # the join (15 ms), so one frame in a burst's noise is not an edge.
                        edges = statistics.median(a[-3:]), statistics.median(b[:3])
                        figures["step"].append((abs(semitones(*edges)), label))
                    if (said[k][1] == "closed" or not voiced_start[clips[k + 1]]
                            or not voiced_end[clips[k]]):
                        continue  # a closure, a stop's release, or a voiceless sound kept whole
                    figures["level"].append(
                        (abs(db(s[join - 20 * MS:join]) - db(s[join:join + 20 * MS])), label))
                    lo, hi = join, join
                    while lo > 0 and abs(s[lo - 1]) < QUIET:
                        lo -= 1
                    while hi < len(s) and abs(s[hi]) < QUIET:
                        hi += 1
                    figures["gap"].append(((hi - lo) / MS, label))
                    continue
                peaks = [max(pitch_in(c), default=0) for c in range(first, k + 1)]
                for c, peak in enumerate(peaks[:-1]):
                    figures["stress"].append((semitones(peak, peaks[-1]) if peak and peaks[-1]
                                              else -99.0, "%s, clip %d" % (label, first + c)))
                sound = [i for i in range(starts[first], starts[k + 1]) if abs(s[i]) >= QUIET]
                syllables = sum(len(re.findall("[aeiouyåäö]", spelled[c][0])) for c in clips[first:k + 1])
                # A phrase of one syllable is a word said alone: its length is its final fall's.
                if syllables > 1:
                    figures["pace"].append((syllables * RATE / (sound[-1] + 1 - sound[0]), label))
                if k + 1 < len(clips):
                    after = next(i for i in range(starts[k + 1], len(s)) if abs(s[i]) >= QUIET)
                    figures["pause"].append(((after - sound[-1] - 1) / MS, label))
                first = k + 1
            # The last word's fall: its last voiced frame within 10 dB of its loudest under the highest.
            word = [(t, hz) for t, hz in track if t * RATE >= starts[-2]]
            levels = [db(s[int(t * RATE) - 10 * MS:int(t * RATE) + 10 * MS]) for t, _ in word]
            loud = [frame for frame, level in zip(word, levels) if level >= max(levels) - 10]
            top = max(loud, key=lambda frame: frame[1])
            figures["fall"].append((semitones(loud[-1][1], top[1]) if top[0] < loud[-1][0] - 0.015
                                    else 0.0, label))
            if len(clips) > 1 and next(p for p in spelled[clips[-1]][1] if p.focus).mark == '"':
                hz = pitch_in(len(clips) - 1)
                depth = [min(semitones(hz[v], max(hz[:v])), semitones(hz[v], max(hz[v + 1:])))
                         for v in range(1, len(hz) - 1)]
                before = statistics.median(pitch_in(len(clips) - 2)[-3:])
                figures["accent 2"].append((min(max(depth), semitones(before, max(
                    hz[:depth.index(max(depth)) + 1]))), label))
            voiced = [i for i, v in enumerate(s) if abs(v) >= QUIET]
            body = s[:voiced[-1] + 1]
            loudest = max(db(body[i:i + 50 * MS]) for i in range(0, max(1, len(body) - 50 * MS), MS))
            figures["ending"].append((loudest - db(body[-10 * MS:]), label))

        folder = os.path.join(ROOT, "resources", "clips", voice, "everyday")
        figures["thump"] = [(thump(read_wav(os.path.join(folder, form, name))), form + "/" + name)
                            for form in os.listdir(folder) for name in os.listdir(os.path.join(folder, form))]
        print("\nEveryday style, voice %s, %d numbers and sayings (Praat pitch):" % (voice, len(items)))
        for what, (unit, low, high) in bars.items():
            values = [v for v, _ in figures[what]]
            print("  %-7s %-12s lowest %7.2f  median %7.2f  highest %7.2f  over %d" % (
                what, unit, min(values), statistics.median(values), max(values), len(values)))
            problems += ["%s %.2f: %s" % (what, v, where) for v, where in figures[what]
                         if not low <= v <= high]
        self.assertFalse(problems, "%d outside the bars:\n%s" % (len(problems), "\n".join(problems)))


if __name__ == "__main__":
    unittest.main()
