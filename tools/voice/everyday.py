# SPDX-License-Identifier: MIT
"""The everyday style: numbers as Swedes say them, from the everyday forms of
pronunciation.tsv.

A number is one word with one main stress, on its last element; one of a thousand
or more with something after the thousands is two phrases, the first ending on
tusen.  Each clip a number is made of has two recordings:

- inner: the clip inside a number.  No accent of its own (its stressed vowel gets
  a small bump of pitch only), shortened, and carried on by a gently falling phrase:
  every inner clip starts at INNER_START and falls to INNER_END, so any two join
  with the same small step up.  It is cut out of a rendering between two context
  vowels, so that it starts and ends inside the sound, as a word inside a phrase
  does, not with the onset and decay of a word said alone.
- last: the clip as a number's last element: the focal accent (accent 1's rise, or
  accent 2's fall and second rise) and the final fall, ending as the clear clips do.

tusen inside a number ends the first phrase: a short rise to PHRASE_END_HZ, held
level, then PAUSE_MS of silence before the second phrase.

Pitch in Hz for the male voice, time in ms, as in prosody.py; a voice's register is
applied by scaling.
"""
import prosody

INNER_START = 102.5   # every inner clip's first voiced pitch point
INNER_BUMP = 103.5    # its stressed vowel: a bump, not an accent
INNER_END = 101.5     # its last; the next clip steps up 0.17 semitones to INNER_START
FOCUS_PEAK = 140.0    # the number's main stress (5.4 semitones over INNER_BUMP)
ACCENT2_FIRST = 109.0  # low, so the join before it stays level
BREATH_MS = 100       # a last form's breath, shorter than the clear clips'
HOLD_MS = 50          # without a breath (sw2), the last phone held into the pause
FINAL_STOP_MS = 35    # an inner clip's last stop: a short closure, then its release
ACCENT2_VALLEY = 104.0
END_HZ = 90.0         # the end of the final fall
PHRASE_END_HZ = 132.0  # tusen before a second phrase: 4.2 semitones over INNER_BUMP
PAUSE_MS = 120        # between the two phrases
CONTEXT = "@"         # the vowel an inner clip is rendered between, then cut from
CONTEXT_MS = 70
STOP_RELEASE_MS = 20
PHRASE_END = {"N1000"}  # the clip whose inner form ends the first phrase

INNER, LAST = "inner", "last"
FRICATIVES = {"s", "S", "C", "f", "rs"}


INNER_RATE = 6.1     # syllables a second of an inner clip's sound
LAST_RATE = 5.6      # a last clip's, and tusen's ending a phrase: lengthened at the end


def durations(phones, form, stretch=1.0, breath=True):
    """Segment lengths at a Swedish reading pace.  Swedish is stress-timed, so a
    word's segments are set by stress first; make_clips then stretches the whole
    word until its sound runs at the style's pace (pace())."""
    last = form == LAST
    last_vowel = max(i for i, p in enumerate(phones) if p.vowel)
    for i, p in enumerate(phones):
        final = last and i >= last_vowel
        if p.vowel:
            long = p.symbol.endswith(":")
            if p.mark in ("'", '"'):
                ms = (140 if long else 90) if last else (120 if long else 70)
            elif p.mark == ",":
                ms = 100 if long else 60
            else:
                ms = 55
            if final and not p.mark:
                ms = 95  # the phrase's last syllable is lengthened, less than in citation
        else:
            if p.symbol in FRICATIVES:
                ms = 70
            elif p.symbol in ("ph", "th", "kh"):
                ms = 65
            elif p.symbol in prosody.STOPS:
                ms = 55
            else:
                ms = 50
            if p.long:
                ms = int(ms * 1.5)
            if final:
                # Room for the last consonant to die away; an s, whose noise is
                # loud to the end, the most.
                ms = int(ms * (1.6 if p.symbol in FRICATIVES else 1.4))
            if i == len(phones) - 1 and p.symbol in prosody.STOPS and not last:
                ms = FINAL_STOP_MS
        p.ms = max(20, round(ms * stretch))
        if last and breath and p.focus:
            p.ms = max(p.ms, 130 if long else 90)  # room for the number's accent
    if last and breath and phones[-1].symbol in prosody.STOPS:
        phones[-1].ms = max(phones[-1].ms, 140)  # the closure, then a release that dies away


def pace(form, name):
    """Syllables a second of a recording's sound."""
    return LAST_RATE if form == LAST or name in PHRASE_END else INNER_RATE


def _accent2_stop(phones, focus, after):
    """Whether a voiceless stop follows the accent-2 vowel: the fall must then be
    voiced inside the vowel, and the second high comes early in the next one."""
    nxt = phones[focus + 1] if focus + 1 < len(phones) else None
    return bool(after) and nxt is not None and nxt.symbol in ("t", "k", "p", "rt", "th", "kh")


def pitch(phones, form, phrase_end=False):
    """Pitch points on the voiced phones."""
    vowels = [i for i, p in enumerate(phones) if p.vowel]
    voiced = [i for i, p in enumerate(phones) if p.voiced]
    if form == INNER and not phrase_end:
        stressed = [i for i in vowels if phones[i].mark]
        for i in vowels:
            phones[i].pitch = [(40, INNER_BUMP if i in stressed else (INNER_START + INNER_END) / 2)]
        first, last = phones[voiced[0]], phones[voiced[-1]]
        first.pitch = [(0, INNER_START)] + [pt for pt in first.pitch if pt[0] > 0]
        last.pitch = [pt for pt in last.pitch if pt[0] < 100] + [(100, INNER_END)]
        return
    focus = max(i for i in vowels if phones[i].mark in ("'", '"'))
    for i in vowels:
        if i < focus:
            phones[i].pitch = [(50, INNER_BUMP if phones[i].mark else INNER_START)]
    f = phones[focus]
    after = [i for i in vowels if i > focus]
    if phrase_end:
        # A short rise, then level to the pause: more is to come.
        f.pitch = [(40, INNER_START), (85, PHRASE_END_HZ)]
        for i in after:
            phones[i].pitch = [(50, PHRASE_END_HZ)]
        end = PHRASE_END_HZ
    elif f.mark == "'":
        # The rise comes late in the vowel, so the join before it stays level.
        f.pitch = [(30, INNER_START), (85, FOCUS_PEAK)]
        if not after and not any(p.voiced for p in phones[focus + 1:]):
            f.pitch = [(50, INNER_START), (85, FOCUS_PEAK), (100, END_HZ + 8)]
        elif not after:
            # A vowel before l, m, n or v: the peak at the vowel's end, as the last
            # phone dies away; the fall runs over the consonants.
            f.pitch = [(40, INNER_START), (100, FOCUS_PEAK)]
        end = END_HZ
    else:
        valley_at = 65 if _accent2_stop(phones, focus, after) else 100
        f.pitch = [(30, ACCENT2_FIRST), (valley_at, ACCENT2_VALLEY)]
        if after:
            phones[after[0]].pitch = [(35, FOCUS_PEAK)]
        else:
            f.pitch = [(20, ACCENT2_FIRST), (45, ACCENT2_VALLEY), (75, FOCUS_PEAK)]
        end = END_HZ
    rest = [i for i in after if not phones[i].pitch]
    top = phones[after[0]].pitch[-1][1] if after and phones[after[0]].pitch else FOCUS_PEAK
    for k, i in enumerate(rest):
        share = (k + 1) / len(rest)
        phones[i].pitch = [(100 if k == len(rest) - 1 else 60, top + (end - top) * share)]
    first, last = phones[voiced[0]], phones[voiced[-1]]
    first.pitch = [(0, INNER_START)] + [pt for pt in first.pitch if pt[0] > 0]
    last.pitch = [pt for pt in last.pitch if pt[0] < 100] + [(100, end)]


def phones(transcription, form, name, breath=True, stretch=1.0):
    """The phones of an everyday transcription in a form, with durations (stretched
    by `stretch`) and pitch.  breath: the voice ends in a breath (sw1), or holds its
    last phone (sw2)."""
    result = prosody.parse(transcription)
    phrase_end = form == INNER and name in PHRASE_END
    durations(result, form, stretch, breath)
    pitch(result, form, phrase_end)
    return result


def pho_lines(phones, form, name, scale=1.0, breath=True):
    """The .pho lines.  Every clip is rendered after a context vowel, and an inner
    one before another, so that it can be cut where a word inside a phrase starts
    and ends (cut_points); a last clip ends as a clear clip does, and tusen before a
    second phrase runs into silence."""
    lines = ["_ %d" % prosody.LEAD_MS,
             "%s %d 0 %d" % (CONTEXT, CONTEXT_MS, round(INNER_START * scale))]
    for p in phones:
        ms, pitch = p.ms, p.pitch
        if form == LAST and not breath and p is phones[-1] and p.symbol not in prosody.STOPS:
            # Without a breath the last phone is held into the pause, at its end pitch.
            ms += HOLD_MS
            pitch = [(round(pct * p.ms / ms), hz) for pct, hz in pitch] + pitch[-1:]
        points = " ".join("%d %d" % (pct, round(hz * scale)) for pct, hz in pitch)
        lines.append(("%s %d %s" % (p.symbol, ms, points)).rstrip())
    if form == LAST:
        if breath and phones[-1].vowel:
            lines.append("h %d" % BREATH_MS)
    elif name not in PHRASE_END:
        lines.append("%s %d 100 %d" % (CONTEXT, CONTEXT_MS, round(INNER_END * scale)))
    lines.append("_ %d" % prosody.TAIL_MS)
    return lines


def cut_points(phones, form, name):
    """Where, in ms from the rendering's start, a clip begins and ends; None for an
    end trimmed at the sound (a last clip's, or tusen's before a pause)."""
    start = prosody.LEAD_MS + CONTEXT_MS
    end = start + sum(p.ms for p in phones)
    if phones[-1].symbol in prosody.STOPS:
        end += STOP_RELEASE_MS  # a stop's release lies after its closure
    return start, (end if form == INNER and name not in PHRASE_END else None)
