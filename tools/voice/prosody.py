# SPDX-License-Identifier: MIT
"""Phonemes, durations and pitch for a clip, from its line in pronunciation.tsv.

One model for every clip, so that clips joined into a number sound like one
utterance: each starts in a narrow band near where every clip's final fall
ends, the focused word carries the one big accent, and the fall after it is
shallow.  Central Swedish word accents (after Bruce's model of Stockholm
Swedish): accent 1 is a low stressed vowel and a rise after it; accent 2 a
high early in the stressed vowel, a fall, and in focus a second rise on the
next syllable.  A clitic (i, och, över between the words of a clock time or a
price) has no stress at all: short vowels, and pitch level at the phrase's line
between the words around it, with neither accent nor final fall.  Pitch in Hz,
time in ms, for the male voice; a voice's register is applied afterwards by
scaling.  A south-Swedish voice (sw2) says each retroflex as r and the dental
(south_swedish), as it has no retroflexes; a voice may say a phone as another
after a given one where its diphone is faulty (respell).
"""

VOWELS = {"i:", "e:", "E:", "y:", "}:", "2:", "u:", "o:", "A:", "{:", "9:",
          "I", "e", "E", "Y", "u0", "2", "U", "O", "a", "{", "9", "@"}
STOPS = {"p", "t", "k", "b", "d", "g", "rt", "rd"}
VOICED_CONSONANTS = {"b", "d", "g", "v", "m", "n", "N", "r", "l", "j",
                     "rd", "rn", "rl"}
CONSONANTS = {"p", "t", "k", "f", "s", "S", "h", "C", "ph", "th", "kh", "rt", "rs",
              "rh"} | VOICED_CONSONANTS

START_HZ = 96.0     # every clip's first voiced pitch point
END_HZ = 92.0       # every clip's last: the end of a shallow final fall
UNSTRESSED_HZ = START_HZ + 2  # unstressed vowels before the focus, and the floor of
                              # the accents' step-down there
FOCUS_PEAK = 128.0  # the focused accent's high
ACCENT2_VALLEY = 107.0
ACCENT2_SECOND = 126.0  # level with the first high, so the valley is heard between two
# A clitic's level: half-way between where a word ends and the next starts, so that it
# steps 0.37 semitones from each, half a join between two words.
CLITIC_HZ = (START_HZ + END_HZ) / 2
CLITIC_VOWEL_MS = 110  # short, and not lengthened at the end: it leans on the next word
# A voiceless stop cuts the voice off before a valley at the vowel's end; the fall must
# end inside the vowel, or accent 2 sounds like accent 1.
STOP_AFTER = {"t", "k", "p", "rt"}
FINAL_VOWEL_MS = 200
BREATH_MS = 130
DYING_MS = 80       # without a breath, the last phone's fade (make_clips.die_away)
LEAD_MS = 30        # silence given to the synthesiser before and after
TAIL_MS = 150
# South Swedish keeps r apart from a following dental: [fœrtɪʊ], not [fœʈːɪʊ].
DENTAL = {"rt": "t", "rd": "d", "rn": "n", "rs": "s", "rl": "l"}
SOUTH_R_MS = 50


class Phone:
    def __init__(self, symbol, long=False, mark="", focus=False, word=0):
        self.symbol = symbol
        self.long = long      # a long consonant
        self.mark = mark      # "'" accent 1, '"' accent 2, "," secondary, "" none
        self.focus = focus
        self.word = word
        self.ms = 0
        self.pitch = []       # (percent, Hz)

    @property
    def vowel(self):
        return self.symbol in VOWELS

    @property
    def voiced(self):
        return self.vowel or self.symbol in VOICED_CONSONANTS


class TranscriptionError(ValueError):
    pass


def parse(transcription):
    """The phones of a transcription, with stress, accent and focus marks."""
    phones = []
    for w, word in enumerate(transcription.split("/")):
        tokens = word.split()
        if not tokens:
            raise TranscriptionError("an empty word")
        for token in tokens:
            focus = token.startswith("*")
            token = token.lstrip("*")
            mark = ""
            if token[:1] in ("'", '"', ","):
                mark, token = token[0], token[1:]
            long = False
            if token not in VOWELS and token.endswith(":") and token[:-1] in CONSONANTS:
                long, token = True, token[:-1]
            if token not in VOWELS and token not in CONSONANTS:
                raise TranscriptionError("unknown phoneme %r" % token)
            if mark and token not in VOWELS:
                raise TranscriptionError("a stress mark on the consonant %r" % token)
            phones.append(Phone(token, long, mark, focus, w))
    main = [p for p in phones if p.mark in ("'", '"')]
    if not main:
        # A clitic: no stress, so nothing to focus, and its vowels are short.
        if any(p.mark or p.focus for p in phones):
            raise TranscriptionError("a secondary stress or focus without a main stress")
        if any(p.vowel and p.symbol.endswith(":") for p in phones):
            raise TranscriptionError("a long vowel in a clitic")
        if not any(p.vowel for p in phones):
            raise TranscriptionError("a clitic without a vowel")
        return phones
    if not any(p.focus for p in phones):
        main[-1].focus = True
    if sum(1 for p in phones if p.focus) != 1:
        raise TranscriptionError("more than one focus")
    if not next(p for p in phones if p.focus).mark in ("'", '"'):
        raise TranscriptionError("the focus is not on a main stress")
    return phones


def clitic(phones):
    """Whether a transcription's phones are a clitic: no stress mark at all."""
    return not any(p.mark for p in phones)


def durations(phones):
    """Segment lengths: slow, careful citation speech a learner can follow.  A clitic
    keeps its segments short, its last syllable too."""
    if clitic(phones):
        for p in phones:
            p.ms = CLITIC_VOWEL_MS if p.vowel else 95 if p.symbol in (
                "s", "S", "C", "f", "rs", "ph", "th", "kh") else 75 if p.symbol in STOPS else 65
        if phones[-1].symbol in STOPS:
            # A final stop's closure as long as a word's: sw2's fade (make_clips.die_away)
            # then stays in the closure, and the release is heard.
            phones[-1].ms = int(75 * 1.4)
        return
    last_vowel = max(i for i, p in enumerate(phones) if p.vowel)
    for i, p in enumerate(phones):
        final = i >= last_vowel  # the last syllable is lengthened
        if p.vowel:
            is_long = p.symbol.endswith(":")
            if p.mark and p.focus:
                ms = 220 if is_long else 140
            elif p.mark in ("'", '"'):
                ms = 170 if is_long else 105
            elif p.mark == ",":
                ms = 140 if is_long else 95
            elif not any(q.mark for q in phones[:i]):
                ms = 65  # a proclitic before the word's first stress (ett, en): short
            else:
                ms = 95
            if final and not p.mark:
                ms = FINAL_VOWEL_MS
        else:
            if p.symbol in ("s", "S", "C", "f", "rs"):
                ms = 95
            elif p.symbol in ("ph", "th", "kh"):
                ms = 95
            elif p.symbol in STOPS:
                ms = 75
            elif p.symbol == "h":
                ms = 65
            else:
                ms = 65
            if p.long:
                ms = int(ms * (2.2 if any(q.focus for q in phones[max(0, i - 1):i]) else 1.8))
            if final:
                ms = int(ms * 1.4)
            if i == len(phones) - 1 and p.symbol in STOPS:
                ms = min(ms, 125)  # a final stop: the closure then its release, no pause
        p.ms = ms


def pitch(phones):
    """Pitch points on the voiced phones; none elsewhere."""
    if clitic(phones):
        for p in phones:
            if p.voiced:
                p.pitch = [(0, CLITIC_HZ), (100, CLITIC_HZ)]
        return
    vowels = [i for i, p in enumerate(phones) if p.vowel]
    focus = next(i for i, p in enumerate(phones) if p.focus)
    # Accents before the focus step down gently over the phrase, towards the
    # unstressed level and never under it: in a long sentence each still rises
    # above its unstressed neighbours.
    for i in vowels:
        p = phones[i]
        if i == focus or not p.mark:
            continue
        before = sum(1 for j in vowels if j < i and phones[j].mark)
        drop = 0.97 ** before

        def down(hz):
            return UNSTRESSED_HZ + (hz - UNSTRESSED_HZ) * drop
        if i > focus:
            p.pitch = [(50, 100.0)]
        elif p.mark == ",":
            p.pitch = [(40, down(103.0))]
        elif p.mark == "'":
            p.pitch = [(0, down(108.0)), (70, down(99.0))]
        else:
            p.pitch = [(20, down(112.0)), (100, down(100.0))]
    f = phones[focus]
    after = [i for i in vowels if i > focus]
    if f.mark == "'":
        f.pitch = [(10, 95.0), (85, FOCUS_PEAK)]
        if not after:
            f.pitch = [(5, 95.0), (55, FOCUS_PEAK), (100, END_HZ)]
    else:
        stop = focus + 1 < len(phones) and phones[focus + 1].symbol in STOP_AFTER
        f.pitch = [(25, FOCUS_PEAK - 2), (65, ACCENT2_VALLEY - 1) if stop else (100, ACCENT2_VALLEY)]
        if after:
            nxt = phones[after[0]]
            if len(after) == 1:
                # The last vowel also carries the final fall: its high comes early.
                nxt.pitch = [(30 if stop else 40, ACCENT2_SECOND), (100, END_HZ)]
            else:
                nxt.pitch = [(35 if stop else 55, ACCENT2_SECOND)]
        else:
            # A stressed final vowel: both highs in one long vowel.
            f.pitch = [(15, FOCUS_PEAK - 2), (50, ACCENT2_VALLEY), (75, ACCENT2_SECOND),
                       (100, END_HZ)]
    # The fall after the focus, over whatever vowels remain.
    rest = [i for i in after if not phones[i].pitch]
    for k, i in enumerate(rest):
        share = (k + 1) / len(rest)
        start = ACCENT2_SECOND if f.mark == '"' else FOCUS_PEAK
        level = start + (END_HZ - start) * share
        phones[i].pitch = [(100, level)] if k == len(rest) - 1 else [(60, level)]
    # Unstressed vowels before the focus sit at the start level.
    for i in vowels:
        if not phones[i].pitch:
            phones[i].pitch = [(50, UNSTRESSED_HZ)]
    # Every clip starts and ends on the same levels.
    voiced = [i for i, p in enumerate(phones) if p.voiced]
    first, last = phones[voiced[0]], phones[voiced[-1]]
    first.pitch = [(0, START_HZ)] + [pt for pt in first.pitch if pt[0] > 0]
    last.pitch = [pt for pt in last.pitch if pt[0] < 100] + [(100, END_HZ)]


def south_swedish(phones):
    """The phones with each retroflex said as r and its dental; the dental keeps the
    retroflex's length and the r is short, as before a consonant."""
    result = []
    for p in phones:
        if p.symbol in DENTAL:
            r = Phone("r", word=p.word)
            r.ms = SOUTH_R_MS
            result.append(r)
            dental = Phone(DENTAL[p.symbol], p.long, p.mark, p.focus, p.word)
            dental.ms, dental.pitch = p.ms, p.pitch
            p = dental
        result.append(p)
    return result


def respell(phones, table):
    """Each phone said as `table` names for it after the phone before it: a voice's
    way round a faulty diphone.  Returns the pairs found, each with what was said."""
    found = {}
    for before, p in zip(phones, phones[1:]):
        said = table.get((before.symbol, p.symbol))
        if said:
            found[(before.symbol, p.symbol)] = said
            p.symbol = said
    return sorted(found.items())


def pho_lines(phones, scale=1.0, breath=True):
    """The .pho lines.  breath=False is for a database without the diphone h-_ (sw2):
    the last phone runs straight into the pause and make_clips.die_away fades it.
    A vowel is held BREATH_MS longer, in the breath's place; a consonant only
    DYING_MS, so that the fade takes none of its own length; a stop not at all,
    as its closure would only grow."""
    lines = ["_ %d" % LEAD_MS]
    for p in phones:
        ms, pitch = p.ms, p.pitch
        if not breath and p is phones[-1] and p.symbol not in STOPS:
            # The fall ends where it would have; the held part stays at its end.
            ms += BREATH_MS if p.vowel else DYING_MS
            pitch = [(round(pct * p.ms / ms), hz) for pct, hz in pitch] + pitch[-1:]
        points = " ".join("%d %d" % (pct, round(hz * scale)) for pct, hz in pitch)
        lines.append(("%s %d %s" % (p.symbol, ms, points)).rstrip())
    if breath and phones[-1].vowel:
        # A vowel before a pause dies away in breath, as in careful speech:
        # the voice fades out rather than stopping at full strength.
        lines.append("h %d" % BREATH_MS)
    lines.append("_ %d" % TAIL_MS)
    return lines


def phones(transcription):
    """The phones of a transcription with their durations and pitch points."""
    result = parse(transcription)
    durations(result)
    pitch(result)
    return result


def contour(phones):
    """The first and last pitch points on voiced phones, and the highest one (a
    clitic's first)."""
    points = [(p, hz) for p in phones if p.voiced for _, hz in p.pitch]
    peak = max(points, key=lambda point: point[1])
    return {"first": points[0][1], "last": points[-1][1], "peak": (peak[0].symbol, peak[1])}
