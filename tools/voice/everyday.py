# SPDX-License-Identifier: MIT
"""The everyday style: numbers as Swedes say them, from the everyday forms of
pronunciation.tsv.

A number is one word with one main stress, on its last element; one of a thousand
or more with hundreds after the thousands is two phrases, the first ending on tusen.
Each clip a number is made of has up to four recordings:

- inner: the clip inside a number.  No accent of its own (its stressed vowel gets
  a small bump of pitch only), shortened, and carried on by a gently falling phrase:
  every inner clip starts at INNER_START and falls to INNER_END, so any two join
  with the same small step up.  It is cut out of a rendering between two context
  vowels, so that it starts and ends inside the sound, as a word inside a phrase
  does, not with the onset and decay of a word said alone.
- last: the clip as a number's last element: the focal accent (accent 1's peak
  early in its vowel, or accent 2's high, valley and second high) and a final fall
  that ends before the voice dies away, so the number ends as a statement.
- phrase-end: tusen ending the first of two phrases: a short rise to PHRASE_END_HZ,
  held level, then PAUSE_MS of silence before the second phrase.
- closed: ett and tjugoett before tusen, ending in the closure of their t, so that
  tusen's t is its release and one long t is heard.

A clitic (a transcription with no stress, prosody.clitic) has only the inner form:
level at the phrase's line between INNER_END and INNER_START, with no bump, at a
quicker pace than a word (CLITIC_RATE).

A word that begins with a voiceless sound is rendered after silence, not after the
context vowel, so that it starts with its own first phone, whole.

Pitch in Hz for the male voice, time in ms, as in prosody.py; a voice's register is
applied by scaling.
"""
import prosody

INNER_START = 102.5   # every inner clip's first voiced pitch point
INNER_BUMP = 103.5    # its stressed vowel: a bump, not an accent
INNER_END = 101.5     # its last; the next clip steps up 0.17 semitones to INNER_START
CLITIC_HZ = (INNER_START + INNER_END) / 2  # a clitic, level: 0.08 semitones from each
FOCUS_PEAK = 140.0    # the number's main stress (5.4 semitones over INNER_BUMP)
SHORT_PEAK = 136.0    # an accent-1 peak in a short vowel: a slower movement, still heard
# Accent 2's first high, 3 semitones over the phrase, and its valley 3.5 under that
# (heard as about 2.5, as the voice smooths it): what tells fyra from a question.
ACCENT2_FIRST = 122.0
ACCENT2_VALLEY = 99.6
BREATH_MS = 100       # a last form's breath, shorter than the clear clips'
FINAL_STOP_MS = 35    # an inner clip's last stop: a short closure, then its release
CLOSURE_MS = 60       # a closed clip's last t: the closure alone, tusen releases it
END_HZ = 90.0         # the end of the final fall
SOUTH_VOWEL_HOLD_MS = 120  # without a breath, a last vowel held on at its end pitch
BREATH_HOLD_MS = 40   # with one, before the breath
NOISE_HOLD_MS = 30    # a last voiceless sound, for its fade
PHRASE_END_HZ = 132.0  # tusen before a second phrase: 4.2 semitones over INNER_BUMP
PAUSE_MS = 120        # between the two phrases
CONTEXT = "@"         # the vowel an inner clip is rendered between, then cut from
CONTEXT_MS = 70
STOP_RELEASE_MS = 20
CLOSURE_ONSET_MS = 20  # into a closed clip's last stop: the voice has died away
INNER, LAST, PHRASE_END, CLOSED = "inner", "last", "phrase-end", "closed"
FRICATIVES = {"s", "S", "C", "f", "rs"}


INNER_RATE = 6.1     # syllables a second of an inner clip's sound
LAST_RATE = 5.6      # a last clip's, and tusen's ending a phrase: lengthened at the end
LONE_VOWEL_MS = 75    # a clitic of one vowel alone (i, å), before its stretch
CLITIC_RATE = 7.5    # a clitic's: unstressed, it is quicker than the words around it


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
            elif len(phones) == 1:
                # A clitic of one vowel (i, å): its two cut edges are levelled over
                # 40 ms each (make_clips.level_edges); it needs a body between them.
                ms = LONE_VOWEL_MS
            else:
                ms = 55
            if final and not p.mark:
                # The phrase's last syllable is lengthened, less than in citation; a
                # number's, which carries accent 2's second high and the fall, more.
                ms = 120 if last else 95
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
                ms = int(ms * (1.3 if p.symbol in FRICATIVES and last else
                               1.6 if p.symbol in FRICATIVES else 1.4))
            if i == len(phones) - 1 and p.symbol in prosody.STOPS and not last:
                ms = CLOSURE_MS if form == CLOSED else FINAL_STOP_MS
        p.ms = max(20, round(ms * stretch))
        if i == 0 and p.symbol in prosody.STOPS:
            p.ms = max(p.ms, 50)  # a closure after silence, whole: a shorter one thumps
        if final and breath and p.symbol == "n" and i == len(phones) - 1:
            p.ms = max(p.ms, 110)  # sw1's n after the teens' o: heard before it dies away
        if last and p.focus:
            # Room for the number's accent: a last stressed syllable holds its rise
            # and its whole fall, and the voice must be heard to fall; a word that
            # starts on its vowel (ett) longer still, for its level start.
            p.ms = max(p.ms, 115 if long else 140 if i == 0 else 100)
    if last and breath and phones[-1].symbol in prosody.STOPS:
        phones[-1].ms = max(phones[-1].ms, 140)  # the closure, then a release that dies away


def pace(form, clitic=False):
    """Syllables a second of a recording's sound."""
    return CLITIC_RATE if clitic else LAST_RATE if form in (LAST, PHRASE_END) else INNER_RATE


def _accent2_voiceless(phones, focus, after):
    """Whether a voiceless consonant follows the accent-2 vowel: the voice stops
    before the vowel's end, so the fall must end inside it."""
    nxt = phones[focus + 1] if focus + 1 < len(phones) else None
    return bool(after) and nxt is not None and not nxt.voiced


def pitch(phones, form, late_voice=False):
    """Pitch points on the voiced phones.  late_voice: a voice whose voicing sets in
    late after a voiceless consonant (sw1)."""
    vowels = [i for i, p in enumerate(phones) if p.vowel]
    voiced = [i for i, p in enumerate(phones) if p.voiced]
    if prosody.clitic(phones):
        if form != INNER:
            raise prosody.TranscriptionError("a clitic is said only inside a phrase (inner)")
        for i in voiced:
            phones[i].pitch = [(0, CLITIC_HZ), (100, CLITIC_HZ)]
        return
    if form in (INNER, CLOSED):
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
    end = END_HZ
    if form == PHRASE_END:
        # A short rise, then level to the pause: more is to come.
        f.pitch = [(40, INNER_START), (85, PHRASE_END_HZ)]
        for i in after:
            phones[i].pitch = [(50, PHRASE_END_HZ)]
        end = PHRASE_END_HZ
    elif f.mark == "'" and not after:
        # Accent 1: the peak early in the vowel and the fall ended well inside it, so
        # that the voice is low before it dies away; sooner where a voiceless
        # consonant, whose voice ends early, follows.  A short vowel's peak is lower,
        # so that rise and fall stay slow enough to be heard as pitch.  A word that
        # starts on its vowel (ett) joins the phrase before it level, then rises.
        peak = SHORT_PEAK if not f.symbol.endswith(":") else FOCUS_PEAK
        end_at = 70 if any(not p.voiced for p in phones[focus + 1:]) else 75
        if focus == 0:
            f.pitch = [(0, INNER_START), (25, INNER_START), (50, FOCUS_PEAK), (75, END_HZ)]
        else:
            f.pitch = [(0, INNER_START), (30, peak), (end_at, END_HZ)]
    elif f.mark == "'":
        f.pitch = [(0, INNER_START), (45, FOCUS_PEAK)]
    elif after:
        # Accent 2: a high early in the stressed vowel, a valley, the second high in
        # the next vowel, and the fall.  The voice stops about 40 ms before a voiceless
        # consonant: a short vowel's valley at half its length, a long one's later.
        # After s or sj, sw1's voice sets in half-way through a short vowel: its high
        # and valley come later still.
        valley_at = (70 if f.symbol.endswith(":") else 50) if _accent2_voiceless(
            phones, focus, after) else 100
        high_at = 30
        if late_voice and focus > 0 and phones[focus - 1].symbol in ("s", "S") and valley_at == 50:
            high_at, valley_at = 50, 75
        f.pitch = [(0, INNER_START), (10, INNER_START), (high_at, ACCENT2_FIRST),
                   (valley_at, ACCENT2_VALLEY)]
        # After a voiceless consonant the voice sets in late (sw1's later still):
        # the second high later, so that it is heard.
        late = not all(p.voiced for p in phones[focus + 1:after[0]])
        high_at, end_at = (50, 90) if late and late_voice else (35, 75) if late else (25, 75)
        second = phones[after[0]]
        second.pitch = [(high_at, FOCUS_PEAK)] + ([(end_at, END_HZ)] if len(after) == 1 else [])
    else:
        f.pitch = [(0, INNER_START), (20, ACCENT2_FIRST), (45, ACCENT2_VALLEY), (65, FOCUS_PEAK),
                   (90, END_HZ)]
    rest = [i for i in after if not phones[i].pitch]
    top = phones[after[0]].pitch[-1][1] if after and phones[after[0]].pitch else FOCUS_PEAK
    for k, i in enumerate(rest):
        share = (k + 1) / len(rest)
        phones[i].pitch = [(75 if k == len(rest) - 1 else 60, top + (end - top) * share)]
    first, last = phones[voiced[0]], phones[voiced[-1]]
    first.pitch = [(0, INNER_START)] + [pt for pt in first.pitch if pt[0] > 0]
    last.pitch = [pt for pt in last.pitch if pt[0] < 100] + [(100, end)]


def phones(transcription, form, breath=True, stretch=1.0, late_voice=False):
    """The phones of an everyday transcription in a form, with durations (stretched
    by `stretch`) and pitch.  breath: the voice ends in a breath (sw1), or holds its
    last phone (sw2)."""
    result = prosody.parse(transcription)
    durations(result, form, stretch, breath)
    pitch(result, form, late_voice)
    return result


def after_context(phones):
    """Whether a clip is rendered after the context vowel: not where it begins with a
    voiceless sound, which after silence keeps its own start."""
    return phones[0].voiced


def before_context(phones, form):
    """Whether an inner clip is rendered before the context vowel: not after a final
    stop, whose release then dies away instead of running into a vowel."""
    return form == INNER and phones[-1].symbol not in prosody.STOPS


def held(phones, form, breath):
    """Whether a last clip's last phone is held on past its fall: every one but a
    stop.  It dies away there
    (make_clips.die_away), in breath or by the fade, and takes nothing of the fall
    with it."""
    return form == LAST and phones[-1].symbol not in prosody.STOPS


def pho_lines(phones, form, scale=1.0, breath=True):
    """The .pho lines.  A clip is rendered after a context vowel, and an inner one
    before another, so that it can be cut where a word inside a phrase starts and
    ends (cut_points); a last clip ends as a clear clip does, and tusen before a
    second phrase runs into silence."""
    lines = ["_ %d" % prosody.LEAD_MS]
    if after_context(phones):
        lines.append("%s %d 0 %d" % (CONTEXT, CONTEXT_MS, round(INNER_START * scale)))
    for p in phones:
        ms, pitch = p.ms, p.pitch
        if p is phones[-1] and held(phones, form, breath):
            # The last phone held on at its end pitch for the fade, which so takes
            # nothing of the phone or of the fall before it.
            # sw2's vowel steps down into the pause over its second half: held
            # longer, so the step comes after the fall.
            ms += (SOUTH_VOWEL_HOLD_MS if not breath else BREATH_HOLD_MS) if p.vowel else \
                prosody.DYING_MS if p.voiced else NOISE_HOLD_MS
            pitch = [(round(pct * p.ms / ms), hz) for pct, hz in pitch] + pitch[-1:]
        points = " ".join("%d %d" % (pct, round(hz * scale)) for pct, hz in pitch)
        lines.append(("%s %d %s" % (p.symbol, ms, points)).rstrip())
    if form == LAST:
        if breath and phones[-1].vowel:
            lines.append("h %d" % BREATH_MS)
    elif before_context(phones, form):
        lines.append("%s %d 100 %d" % (CONTEXT, CONTEXT_MS, round(INNER_END * scale)))
    lines.append("_ %d" % prosody.TAIL_MS)
    return lines


def cut_points(phones, form):
    """Where, in ms from the rendering's start, a clip begins and ends; None for an
    end trimmed at the sound (a last clip's, or tusen's before a pause).  A closed
    clip ends CLOSURE_ONSET_MS into its last stop, before the release."""
    start = prosody.LEAD_MS + (CONTEXT_MS if after_context(phones) else 0)
    end = start + sum(p.ms for p in phones)
    if form == CLOSED:
        return start, end - phones[-1].ms + CLOSURE_ONSET_MS
    if phones[-1].symbol in prosody.STOPS:
        end += STOP_RELEASE_MS  # a stop's release lies after its closure
    return start, (end if form == INNER else None)
