# SPDX-License-Identifier: MIT
"""The everyday style, measured over whole numbers as `talmo-say --wav --style everyday`
writes them, in every voice, with Praat's pitch from the audio: one main stress a
phrase, a Swede's pace, no seam at a join, and an ending that dies away.  The numbers
are the first to make each join the number speaker can make (tools/voice/joins.py,
checked against talmo-say) and to end on each clip a number can end on.

    TALMO_SAY=build/app/talmo-say python3 tests/tools/everyday_speech_test.py
"""
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
        clips = joins.number_clips(n)
        keys = {"end " + clips[-1]} | {"%s > %s%s" % (a, "last " if k + 2 == len(clips) else "", b)
                                       for k, (a, b) in enumerate(zip(clips, clips[1:]))}
        if keys - seen:
            seen |= keys
            numbers.append(n)
    return numbers


def spellings():
    with open(os.path.join(ROOT, "tools", "voice", "pronunciation.tsv"), encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip() and line[0] != "#"]
    return {row[0]: row[3] for row in rows if len(row) == 6}


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


class EverydayStyle(unittest.TestCase):
    def test_every_join_in_every_voice(self):
        numbers, spelled = every_join(), spellings()
        for voice in PITCH_RANGE:
            with self.subTest(voice), tempfile.TemporaryDirectory() as scratch:
                paths = {}
                for n in numbers:
                    paths[n] = os.path.join(scratch, "%d.wav" % n)
                    subprocess.run([SAY, "--voice", voice, "--style", "everyday", "--wav",
                                    paths[n], str(n)], check=True)
                tracks = praat_tracks(list(paths.values()), voice)
                self.check_voice(voice, numbers, paths, tracks, spelled)

    def check_voice(self, voice, numbers, paths, tracks, spelled):
        # Each bar: its unit and its lowest and highest allowed value.
        bars = {"stress": ("st", 2.0, 99), "pace": ("syllables/s", 5.0, 6.5),
                "step": ("st", 0, 1.5), "level": ("dB", 0, 3.0), "gap": ("ms", 0, 10.0),
                "pause": ("ms", 80.0, 200.0), "ending": ("dB", 20.0, 99)}
        figures = {k: [] for k in bars}
        problems = []
        for n in numbers:
            s = read_wav(paths[n])
            clips = joins.number_clips(n)
            # Where each clip lies: the lengths of the recordings the program embeds.
            starts = [0]
            for k, name in enumerate(clips):
                form = "last" if k + 1 == len(clips) else "inner"
                starts.append(starts[-1] + len(read_wav(os.path.join(
                    ROOT, "resources", "clips", voice, "everyday", form, name + ".wav"))))
            self.assertEqual(starts[-1], len(s), "%d is not its everyday recordings" % n)
            # Frames an octave off the voice are the tracker's, not the voice's: Praat
            # finds twice the pitch in the noise of a sj-sound.
            middle = statistics.median(hz for _, hz in tracks[paths[n]])
            track = [(t, hz) for t, hz in tracks[paths[n]] if middle / 1.6 < hz < middle * 1.6]

            def pitch_in(k):
                return [hz for t, hz in track if starts[k] <= t * RATE < starts[k + 1]]

            label = "%d (%s)" % (n, ", ".join(clips))
            ends = [k for k, name in enumerate(clips) if k + 1 == len(clips) or name == "N1000"]
            first = 0
            for k in range(len(clips)):
                if k not in ends:
                    join = starts[k + 1]
                    a, b = pitch_in(k), pitch_in(k + 1)
                    if a and b:
                        # Each edge's pitch: the median of its three voiced frames nearest
                        # the join (15 ms), so one frame in a burst's noise is not an edge.
                        edges = statistics.median(a[-3:]), statistics.median(b[:3])
                        figures["step"].append((abs(semitones(*edges)), label))
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
                syllables = sum(len(re.findall("[aeiouyåäö]", spelled[c])) for c in clips[first:k + 1])
                # A phrase of one syllable is a word said alone: its length is its final fall's.
                if syllables > 1:
                    figures["pace"].append((syllables * RATE / (sound[-1] + 1 - sound[0]), label))
                if k + 1 < len(clips):
                    after = next(i for i in range(starts[k + 1], len(s)) if abs(s[i]) >= QUIET)
                    figures["pause"].append(((after - sound[-1] - 1) / MS, label))
                first = k + 1
            voiced = [i for i, v in enumerate(s) if abs(v) >= QUIET]
            body = s[:voiced[-1] + 1]
            loudest = max(db(body[i:i + 50 * MS]) for i in range(0, max(1, len(body) - 50 * MS), MS))
            figures["ending"].append((loudest - db(body[-10 * MS:]), label))

        print("\nEveryday style, voice %s, %d numbers (Praat pitch):" % (voice, len(numbers)))
        for what, (unit, low, high) in bars.items():
            values = [v for v, _ in figures[what]]
            print("  %-7s %-12s lowest %7.2f  median %7.2f  highest %7.2f  over %d" % (
                what, unit, min(values), statistics.median(values), max(values), len(values)))
            problems += ["%s %.2f: %s" % (what, v, where) for v, where in figures[what]
                         if not low <= v <= high]
        self.assertFalse(problems, "%d outside the bars:\n%s" % (len(problems), "\n".join(problems)))


if __name__ == "__main__":
    unittest.main()
