# SPDX-License-Identifier: MIT
"""The clips' readable sources (tools/voice/pronunciation.tsv and the .pho files mbrola
renders) teach what a learner should hear: stress, word accent, retroflexes, and pitch
that joins smoothly inside a number."""
import glob
import math
import os
import re
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path[:0] = [os.path.join(ROOT, "tools", "voice"), os.path.join(ROOT, "tools")]
import everyday  # noqa: E402
import everyday_speech_test  # noqa: E402
import joins  # noqa: E402
import make_clips  # noqa: E402
import prosody  # noqa: E402

VOICE = os.environ.get("TALMO_VOICE", "sw1")
RETROFLEX = {"rt", "rd", "rn", "rs", "rl"}
DENTALS = ("t", "d", "n", "s", "l")
# sw2 speaks south Swedish and its database has neither retroflexes nor h-_: it says
# r and the dental, and a final vowel runs into the pause without a breath.
SOUTH, SETUP = VOICE == "sw2", make_clips.VOICES[VOICE]


def semitones(low, high):
    return 12 * math.log2(high / low)


def read_tsv(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f
                if line.strip() and not line.startswith("#")]


def read_pho(path):
    """[(phoneme, ms, [(percent, Hz)])], without the silences."""
    phones = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")[0].split()
            if not fields or fields[0] == "_":
                continue
            values = [float(v) for v in fields[2:]]
            phones.append((fields[0], float(fields[1]), list(zip(values[::2], values[1::2]))))
    return phones


def voiced_points(pho):
    """(phone index, Hz) of every pitch point on a voiced phoneme, in order."""
    return [(i, hz) for i, (symbol, _, points) in enumerate(pho)
            if symbol in prosody.VOWELS or symbol in prosody.VOICED_CONSONANTS
            for _, hz in points]


class ClipSources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.texts = {name: text for _, name, text in
                     read_tsv(os.path.join(ROOT, "resources", "clips", "catalogue.tsv"))}
        cls.table = {name: tr for name, tr, *_ in
                     read_tsv(os.path.join(ROOT, "tools", "voice", "pronunciation.tsv"))}
        cls.pho = {name: read_pho(os.path.join(ROOT, "tools", "voice", VOICE, name + ".pho"))
                   for name in cls.texts}

    def test_every_clip_has_a_transcription_that_its_pho_file_follows(self):
        self.assertEqual(set(self.table), set(self.texts))
        for name, transcription in self.table.items():
            with self.subTest(name):
                expected = []
                for p in prosody.parse(transcription):
                    expected += ["r", p.symbol[1]] if SOUTH and p.symbol in RETROFLEX \
                        else [p.symbol]
                for k in range(1, len(expected)):  # the voice's way round a faulty diphone
                    expected[k] = SETUP.respell.get((expected[k - 1], expected[k]), expected[k])
                if expected[-1] in prosody.VOWELS and not SOUTH:
                    expected.append("h")  # a final vowel dies away in breath
                self.assertEqual([symbol for symbol, _, _ in self.pho[name]], expected)

    def test_compound_numerals_peak_in_the_stressed_syllable_of_the_last_element(self):
        compounds = [n for n, tr in self.table.items()
                     if "/" not in tr and "," in tr and re.search(r"['\"]", tr)]
        self.assertGreaterEqual(len(compounds), 13)
        for name in compounds:
            with self.subTest(name):
                phones = prosody.parse(self.table[name])
                stressed = max(i for i, p in enumerate(phones) if p.mark in ("'", '"'))
                following = [i for i, p in enumerate(phones) if p.vowel and i > stressed]
                syllable_end = following[0] if following else len(phones)
                peak = max(voiced_points(self.pho[name]), key=lambda point: point[1])[0]
                self.assertTrue(stressed <= peak < syllable_end,
                                "peak on %s, not the stressed %s" % (
                                    self.pho[name][peak][0], phones[stressed].symbol))

    def test_accent_2_words_said_alone_fall_and_rise_again(self):
        words = [n for n, tr in self.table.items() if "/" not in tr and
                 any(p.focus and p.mark == '"' for p in prosody.parse(tr))]
        self.assertGreaterEqual(len(words), 30)
        for name in words:
            with self.subTest(name):
                hz = [h for _, h in voiced_points(self.pho[name])]
                # Two highs with a valley between, at least 1.5 semitones below each.
                found = any(semitones(hz[v], max(hz[:v])) >= 1.5 and
                            semitones(hz[v], max(hz[v + 1:])) >= 1.5
                            for v in range(1, len(hz) - 1))
                self.assertTrue(found, "pitch %s has no fall and rise" % hz)
                # A voiceless stop cuts off the end of the vowel before it: no valley there.
                pho = self.pho[name]
                self.assertFalse([s for (s, _, points), (after, _, _) in zip(pho, pho[1:])
                                  if after in prosody.STOP_AFTER and points[-1:] and
                                  points[-1][0] == 100 and s in prosody.VOWELS], pho)

    def test_r_before_t_d_n_s_or_l_is_one_retroflex_or_in_the_south_r_and_the_dental(self):
        spelled = [n for n, text in self.texts.items() if re.search(r"r[tdnsl]", text)]
        self.assertGreaterEqual(len(spelled), 9)
        for name in spelled:
            with self.subTest(name):
                symbols = [symbol for symbol, _, _ in self.pho[name]]
                wanted = len(re.findall(r"r[tdnsl]", self.texts[name]))
                r_dental = [a for a, b in zip(symbols, symbols[1:]) if b in DENTALS].count("r")
                if SOUTH:
                    self.assertFalse(RETROFLEX & set(symbols), symbols)
                    self.assertEqual(r_dental, wanted, symbols)
                else:
                    self.assertEqual(sum(s in RETROFLEX for s in symbols), wanted, symbols)
                    self.assertEqual(r_dental, 0, symbols)

    def test_every_clip_ends_in_a_fall_and_numbers_join_without_pitch_jumps(self):
        first = {n: voiced_points(p)[0][1] for n, p in self.pho.items()}
        last = {n: voiced_points(p)[-1][1] for n, p in self.pho.items()}
        for name, pho in ((n, p) for n, p in self.pho.items()  # a clitic is level: below
                          if not prosody.clitic(prosody.parse(self.table[n]))):
            with self.subTest(name):
                peak = max(hz for _, hz in voiced_points(pho))
                self.assertGreaterEqual(semitones(last[name], peak), 2.0)
        steps = sorted(abs(semitones(last[a], first[b]))
                       for n in range(100000)
                       for a, b in zip(joins.number_clips(n), joins.number_clips(n)[1:]))
        self.assertLessEqual(steps[len(steps) // 2], 2.5)
        self.assertLessEqual(steps[int(math.ceil(0.95 * len(steps))) - 1], 4.0)

    def test_every_inner_recording_runs_to_the_end_of_its_last_phone(self):
        # Cut (its .pho's "; cut:") after its last phone: a stop's release, a closed one's closure.
        for form in (everyday.INNER, everyday.CLOSED, everyday.PHRASE_END):
            folder = os.path.join(ROOT, "tools", "voice", VOICE, "everyday", form)
            for name in os.listdir(folder):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    text = f.read()
                lines = [line.split() for line in text.splitlines() if line[:1] not in ("", ";")][:-1]
                if form == everyday.INNER and lines[-1][0] == everyday.CONTEXT:
                    lines.pop()  # the vowel it was rendered before
                end = sum(int(line[1]) for line in lines) + (lines[-1][0] in prosody.STOPS) * (
                    everyday.CLOSURE_ONSET_MS - int(lines[-1][1]) if form == everyday.CLOSED
                    else everyday.STOP_RELEASE_MS)
                self.assertGreaterEqual(int(re.search(r"; cut: samples \d+ to (\d+)", text)[1]),
                                        end * 8, form + "/" + name)

    def test_every_clitic_is_level_on_the_phrase_line_and_as_loud_as_its_neighbours(self):
        """Each clitic recording's Praat frames within 10 dB of its loudest: within 1 semitone, and
        half a semitone of its level; an inner one's loudest 20 ms within 4 dB of the median's."""
        folder = os.path.join(ROOT, "resources", "clips", SETUP.folder)
        level = {p: make_clips.loudest(make_clips.read_samples(p), 160)
                 for p in glob.glob(os.path.join(folder, "everyday", "inner", "*.wav"))}
        wanted = {}
        for name in (n for n, tr in self.table.items() if prosody.clitic(prosody.parse(tr))):
            wanted[glob.glob(os.path.join(folder, "[A-Z]*", name + ".wav"))[0]] = prosody.CLITIC_HZ
            wanted[os.path.join(folder, "everyday", "inner", name + ".wav")] = everyday.CLITIC_HZ
        words = sorted(level.values())[len(level) // 2]
        for path, frames in everyday_speech_test.praat_tracks(list(wanted), SETUP.folder).items():
            s = make_clips.read_samples(path)
            db = [make_clips.loudest(s[max(0, round(t * 8000) - 80):round(t * 8000) + 80], 160)
                  for t, _ in frames]
            hz = sorted(h for (_, h), d in zip(frames, db) if d >= max(db) - 10)
            span, off = semitones(hz[0], hz[-1]), semitones(wanted[path] * SETUP.scale, hz[len(hz) // 2])
            self.assertTrue(span <= 1.0 and abs(off) <= 0.5 and level.get(path, words) >= words - 4,
                            (path, span, off, level.get(path, words) - words))
        self.assertEqual(len(wanted), 6)


if __name__ == "__main__":
    unittest.main()
