#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Make Talmo's Swedish voice clips with MBROLA from the committed pronunciation table.

tools/voice/pronunciation.tsv says how each clip of resources/clips/catalogue.tsv is
said.  A voice is an MBROLA database and the folder its clips go to: sw1 (male) makes
resources/clips/male/, sw2 (female) resources/clips/female/.  For each clip this
script writes tools/voice/<VOICE>/<NAME>.pho (phonemes, durations and pitch points:
the clip's readable source), has mbrola render it, and turns the result into
resources/clips/<FOLDER>/<CATEGORY>/<NAME>.wav: 8000 Hz mono 16-bit PCM followed by a
LIST/INFO chunk (INAM = text, ICRD = date, ISFT = the tools used).  sox converts the
rate; this script trims, levels, limits and fades.  It also writes
resources/clips/<FOLDER>/figures.txt: each clip's measures and the pitch steps at the
joins of every number from 0 to 99999.

    tools/make_clips.py                      # remake every male clip (sw1)
    tools/make_clips.py --voice sw2          # every female clip
    tools/make_clips.py --only N18 ARTONDE   # remake some
    tools/make_clips.py --pho-only           # write the .pho files and figures only
    SOURCE_DATE_EPOCH=1704067200 tools/make_clips.py   # or --date 2024-01-01

Standard library only.  Same inputs and tool versions give byte-identical files: the
ICRD date is pinned, so a rerun changes nothing.
"""
import argparse
import collections
import datetime
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "voice"))
import prosody  # noqa: E402
import joins  # noqa: E402
import everyday  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUE = os.path.join(ROOT, "resources", "clips", "catalogue.tsv")
CLIP_DIR = os.path.join(ROOT, "resources", "clips")
VOICE_DIR = os.path.join(ROOT, "tools", "voice")
TABLE = os.path.join(VOICE_DIR, "pronunciation.tsv")
EVERYDAY = os.path.join(CLIP_DIR, "everyday.tsv")
RATE = 8000
CLIP_DATE = "2026-12-07"  # ICRD unless --date or SOURCE_DATE_EPOCH says otherwise
# A voice, by its MBROLA database: the folder under resources/clips for its clips and
# figures; its register against the male model's pitch; south: r and the dental where
# sw1 has a retroflex (sw2 has none); breath: a final vowel dies away in breath, else
# (no h-_ in the database) the last phone runs into the pause and die_away fades it;
# allpass: (Hz, Q) phase rotators after the rate change; level: dB, K-weighted, of
# each clip's loudest 100 ms; praat: the pitch range, Hz, Praat looks in; late: its
# voice sets in late after a voiceless consonant (sw1's, about 50 ms into a vowel
# after s), so an everyday last word's second high comes later; respell: a phone said
# as another after a given one, where the database's diphone is faulty.  sw2's
# vowels are near sine waves at a woman's pitch, so at -15 dB its peaks stay well
# under -6 dBFS: the rotators line its harmonics up into higher peaks (a phase change
# only, the spectrum stays), and a level 0.4 dB over the male's leaves room to lift
# the last few within the level bars.  sw2's v-@ diphone cuts one period short at
# any pitch (a 174 Hz then a 286 Hz period where the voice is at 204), a jump Praat
# hears: after v it says e [ɛ] for a schwa, as careful speech may.
Voice = collections.namedtuple("Voice",
                               "folder scale south breath allpass level praat late respell")
VOICES = {
    "sw1": Voice("male", 1.0, south=False, breath=True, allpass=(), level=-15.0,
                 praat=(60, 300), late=True, respell={}),
    "sw2": Voice("female", 2.0, south=True, breath=False,
                 allpass=((1037, 1.9), (496, 2.4), (850, 2.9)), level=-14.6, praat=(120, 450),
                 late=False, respell={("v", "@"): "e"}),
}
SILENCE = 328            # |s| below this (-40 dBFS) counts as silence
LEAD = 120               # samples kept before the first non-silent sample (15 ms)
TAIL = 120               # and after the last (15 ms)
FADE_IN = 40             # raised-cosine fade in (5 ms) and out (10 ms): the voice
FADE_OUT = 80            # itself decays, the fades only remove a click
PEAK_FLOOR = 16600.0     # a little over -6 dBFS (16423)
CEILING = 29000.0        # limiter ceiling, under -1 dBFS (29204) with room for rounding
LIMIT_REACH = 40         # limiter gain moves smoothly over +-5 ms around each peak


def fail(message):
    sys.exit("make_clips: " + message)


def mbrola_database(voice):
    return "/usr/share/mbrola/%s/%s" % (voice, voice)


def check_tools(voice):
    """Stop at once, naming what is missing, before any clip is touched."""
    missing = [t for t in ("mbrola", "sox") if shutil.which(t) is None]
    if not os.path.exists(mbrola_database(voice)):
        missing.append("mbrola-" + voice)
    if missing:
        fail("missing: %s. On Debian 12 add 'contrib non-free' to the Components: lines of "
             "/etc/apt/sources.list.d/debian.sources, then: apt-get update && apt-get install %s"
             % (", ".join(missing), " ".join(m if m.startswith("mbrola") else m for m in missing)))


def run(cmd, data=None):
    result = subprocess.run(cmd, input=data, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail("command failed: %s\n%s" % (" ".join(cmd), result.stderr.decode("utf-8", "replace")))
    return result


def tool_versions(voice):
    def version(cmd):
        out = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT).stdout
        m = re.search(r"(\d+\.\d+(?:\.\d+)?)", out.decode("utf-8", "replace"))
        return m.group(1) if m else "unknown"
    return "mbrola %s (%s), sox %s" % (version(["mbrola"]), voice, version(["sox", "--version"]))


def read_tsv(path, *fields):
    """The rows of a tab-separated table, each with one of the numbers of fields given."""
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            if len(parts) not in fields:
                fail("%s:%d: expected %s tab-separated fields"
                     % (path, number, " or ".join(map(str, fields))))
            rows.append(parts)
    return rows


def render(pho_path, voice, scratch, die=None):
    """mbrola's 16 kHz output at 8 kHz, as float samples in int16 units.
    Any word from mbrola (a missing diphone, which it would fill with silence) is fatal."""
    wav = os.path.join(scratch, "out.wav")
    result = subprocess.run(["mbrola", mbrola_database(voice), pho_path, wav],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    said = (result.stdout + result.stderr).decode("utf-8", "replace").strip()
    if result.returncode != 0 or said:
        fail("mbrola on %s: %s" % (os.path.relpath(pho_path, ROOT), said or "failed"))
    effects = ["highpass", "60", "rate", "-v", str(RATE)]
    for hz, q in VOICES[voice].allpass:
        effects += ["allpass", str(hz), "%gq" % q]
    raw = run(["sox", "-D", wav, "-t", "raw", "-e", "floating-point", "-b", "32", "-L",
               "-c", "1", "-"] + effects).stdout
    count = len(raw) // 4
    x = [v * 32768.0 for v in struct.unpack("<%df" % count, raw[:count * 4])]
    # die: whether the last phone is faded (die_away); by default, where the voice
    # has no breath to end in.
    return die_away(x, pho_path) if (not VOICES[voice].breath if die is None else die) else x


def render_lines(lines, pho_path, voice, scratch, die):
    """render() of .pho lines, written to pho_path first."""
    os.makedirs(os.path.dirname(pho_path), exist_ok=True)
    with open(pho_path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    return render(pho_path, voice, scratch, die)


def die_away(x, pho_path):
    """The last phone's sound dying away: falling evenly in dB over prosody.DYING_MS
    to -40 dB, and on, where its last 10 ms within 10 dB of its loudest 10 ms end.
    sw2's diphones into the pause stop at full strength, or step down to a weak
    devoiced tail and stop there, which the bars hear as cut off; the fade drops
    that tail."""
    with open(pho_path, encoding="utf-8") as f:
        ms = [int(line.split()[1]) for line in f if line.strip() and not line.startswith(";")]
    frame = RATE // 100
    start, stop = sum(ms[:-2]) * RATE // 1000, (sum(ms[:-1]) + 20) * RATE // 1000
    levels = [(sum(v * v for v in x[i:i + frame]), i + frame)
              for i in range(start, min(stop, len(x)) - frame + 1, frame)]
    loudest_frame = max(level for level, _ in levels)
    end = max(i for level, i in levels if level >= loudest_frame / 10)
    n = prosody.DYING_MS * RATE // 1000
    return [v * 10 ** (-2 * max(0, i - end + n) / n) for i, v in enumerate(x)]


def soft_limit(y):
    """Look-ahead peak limiter: a smooth gain dip around peaks over CEILING.

    Each peak asks for gain CEILING/|v|; that is spread to +-LIMIT_REACH samples
    (minimum) and then averaged over the same reach, so the gain still meets every
    peak but changes gently, without the distortion of clipping each sample."""
    n, reach = len(y), LIMIT_REACH
    need = [1.0] * n
    for i, v in enumerate(y):
        if abs(v) > CEILING:
            g = CEILING / abs(v)
            for k in range(max(0, i - reach), min(n, i + reach + 1)):
                need[k] = min(need[k], g)
    if min(need, default=1.0) == 1.0:
        return list(y)
    prefix = [0.0]
    for g in need:
        prefix.append(prefix[-1] + g)
    out = []
    for i, v in enumerate(y):
        lo, hi = max(0, i - reach), min(n, i + reach + 1)
        out.append(v * (prefix[hi] - prefix[lo]) / (hi - lo))
    return out


def k_weighted(x):
    """The signal through BS.1770's K-weighting (shelf, then high-pass), designed for RATE."""
    def biquad(x, b, a):
        y, x1, x2, y1, y2 = [], 0.0, 0.0, 0.0, 0.0
        for v in x:
            out = b[0] * v + b[1] * x1 + b[2] * x2 - a[1] * y1 - a[2] * y2
            x2, x1, y2, y1 = x1, v, y1, out
            y.append(out)
        return y
    k = math.tan(math.pi * 1681.974450955533 / RATE)
    vh = 10 ** (3.999843853973347 / 20)
    vb = vh ** 0.4996667741545416
    q = 0.7071752369554196
    a0 = 1 + k / q + k * k
    shelf_b = [(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0]
    shelf_a = [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0]
    k = math.tan(math.pi * 38.13547087602444 / RATE)
    q = 0.5003270373238773
    a0 = 1 + k / q + k * k
    hp_b = [1.0 / a0, -2.0 / a0, 1.0 / a0]
    hp_a = [1.0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0]
    return biquad(biquad(x, shelf_b, shelf_a), hp_b, hp_a)


def loudest(x, window):
    """Mean square of the loudest `window` samples, in dB of full scale; of them all
    in a shorter clip (a clitic inside a phrase), as the catalogue's bars measure it."""
    window = min(window, len(x))
    squares = [v * v for v in x]
    best, total = 0.0, sum(squares[:window])
    best = total
    for i in range(window, len(squares)):
        total += squares[i] - squares[i - window]
        best = max(best, total)
    return 10 * math.log10(max(best / window, 1e-12) / 32768.0 ** 2)


def loudness(x):
    return loudest(k_weighted(x), RATE // 10)


def settle(x, target):
    """Trimmed and soft-limited, with its loudest 100 ms at `target` dB."""
    gain = 1.0
    for _ in range(20):
        y = soft_limit([gain * v for v in x])
        loud = [i for i, v in enumerate(y) if abs(v) >= SILENCE]
        if not loud:
            fail("clip is silent")
        y = y[max(0, loud[0] - LEAD):min(len(y), loud[-1] + 1 + TAIL)]
        error = target - loudness(y)
        if abs(error) < 0.01:
            return y
        gain *= 10 ** (error / 20)
    fail("level did not settle")


def shape(x, number_word, voice):
    """Trim, level the loudest 100 ms, soft-limit and fade; returns int16 values.
    A clip whose peaks stay under -6 dBFS at the voice's level (a word of long,
    even vowels) is made a little louder, within what the level bars allow: a number
    word 1 dB from the number words' median, any other clip 1.5 dB."""
    y = settle(x, voice.level)
    peak = max(abs(v) for v in y)
    if peak < PEAK_FLOOR:
        lift = min(20 * math.log10(PEAK_FLOOR / peak), 0.95 if number_word else 1.45)
        y = settle(x, voice.level + lift)
    n = len(y)
    for i in range(FADE_IN):
        y[i] *= 0.5 - 0.5 * math.cos(math.pi * i / FADE_IN)
    for i in range(FADE_OUT):
        y[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / FADE_OUT)
    return [int(math.floor(v + 0.5)) for v in y]


def info_chunk(fields):
    body = b"INFO"
    for key, value in fields:
        data = value.encode("utf-8") + b"\0"
        body += key + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    return b"LIST" + struct.pack("<I", len(body)) + body


def wav_bytes(samples, text, date, software):
    data = struct.pack("<%dh" % len(samples), *samples)
    tail = info_chunk([(b"INAM", text), (b"ICRD", date), (b"ISFT", software)])
    header = (b"RIFF" + struct.pack("<I", 36 + len(data) + len(tail)) + b"WAVE"
              + b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
              + b"data" + struct.pack("<I", len(data)))
    return header + data + tail


def default_date():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        return datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc).strftime("%Y-%m-%d")
    return None


def syllables(text):
    return len(re.findall(r"[aeiouyåäö]+", text.lower()))


def main():
    parser = argparse.ArgumentParser(description="Make Talmo's Swedish voice clips.")
    parser.add_argument("--voice", default="sw1", choices=sorted(VOICES),
                        help="sw1: male, into resources/clips/male; sw2: female, "
                        "into resources/clips/female")
    parser.add_argument("--only", nargs="+", metavar="NAME", help="remake only these clips")
    parser.add_argument("--date", help="ICRD date, YYYY-MM-DD (default: SOURCE_DATE_EPOCH, "
                        "else %s)" % CLIP_DATE)
    parser.add_argument("--style", default="clear", choices=("clear", "everyday"),
                        help="everyday: the recordings of resources/clips/everyday.tsv in "
                        "their everyday forms, into <voice folder>/everyday/<form>/")
    parser.add_argument("--pho-only", action="store_true",
                        help="write the .pho files and the join figures, render nothing")
    args = parser.parse_args()

    catalogue = read_tsv(CATALOGUE, 3)
    rows = read_tsv(TABLE, 3, 6)
    table = {row[0]: (row[1], row[2]) for row in rows}
    names = [name for _, name, _ in catalogue]
    problems = sorted(set(names) ^ set(table)) + sorted(set(args.only or []) - set(names))
    if problems:
        fail("catalogue and pronunciation table differ, or unknown names: " + " ".join(problems))
    chosen = set(args.only) if args.only else set(names)
    date = args.date or default_date()
    if date and not re.fullmatch(r"\d{4}-\d{2}-\d{2}", date):
        fail("--date must look like YYYY-MM-DD, not %r" % date)
    if args.style == "everyday":
        make_everyday(args, catalogue, rows, chosen, date or CLIP_DATE)
        return

    voice = VOICES[args.voice]
    clip_dir = os.path.join(CLIP_DIR, voice.folder)
    pho_dir = os.path.join(VOICE_DIR, args.voice)
    os.makedirs(pho_dir, exist_ok=True)
    contours = {}
    for category, name, text in catalogue:
        try:
            phones = prosody.phones(table[name][0])
        except prosody.TranscriptionError as e:
            fail("%s: %s" % (name, e))
        if voice.south:
            phones = prosody.south_swedish(phones)
        respelled = prosody.respell(phones, voice.respell)
        contours[name] = phones
        if name in chosen:
            with open(os.path.join(pho_dir, name + ".pho"), "w", encoding="utf-8") as f:
                f.write("; %s: %s\n" % (name, text))
                if voice.south:
                    f.write("; south Swedish: r then the dental for a retroflex\n")
                if not voice.breath:
                    f.write("; no h-_: the last phone is held on, a vowel %d ms, a consonant "
                            "%d ms, a stop not at all; make_clips.py fades it\n"
                            % (prosody.BREATH_MS, prosody.DYING_MS))
                for (before, phone), said in respelled:
                    f.write("; %s for %s after %s: the database's %s-%s is faulty\n"
                            % (said, phone, before, before, phone))
                f.write("\n".join(prosody.pho_lines(phones, voice.scale, voice.breath)) + "\n")

    measures = {}
    if not args.pho_only:
        check_tools(args.voice)
        software = tool_versions(args.voice)
        with tempfile.TemporaryDirectory(prefix="make_clips.") as scratch:
            for category, name, text in catalogue:
                path = os.path.join(clip_dir, category, name + ".wav")
                if name not in chosen:
                    continue
                samples = shape(render(os.path.join(pho_dir, name + ".pho"), args.voice, scratch),
                                name in joins.NUMBER_WORDS, voice)
                clip_date = date or CLIP_DATE
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(wav_bytes(samples, text, clip_date, software))
                print("%-15s %.2f s" % (name, len(samples) / RATE))
    for category, name, text in catalogue:
        path = os.path.join(clip_dir, category, name + ".wav")
        if os.path.exists(path):
            measures[name] = measure(path, text, voice.praat)
    with open(os.path.join(clip_dir, "figures.txt"), "w", encoding="utf-8") as f:
        f.write(figures(catalogue, contours, measures, args.voice))


EDGE_DB = -24.0        # an everyday clip's level 20 ms either side of a cut edge
EDGE_MS = 20
EDGE_RAMP_MS = 20      # the edge gain returns to 1 over this
EDGE_MAX_DB = 18.0     # the most an edge is raised or lowered
EDGE_FADE = 16         # 2 ms: enough to keep a cut edge from clicking
EDGE_LEAD = 24         # 3 ms of quiet kept before a cut start: a stop's closure, shortened
ZERO_REACH = 80        # a cut inside the voice moves at most 10 ms, to a rising zero


def rms_db(x):
    return 10 * math.log10(max(sum(v * v for v in x) / max(len(x), 1), 1e-12) / 32768.0 ** 2)


def rising_zero(x, at, step):
    """The nearest index from `at`, going by `step`, where x rises through zero
    (x[i - 1] < 0 <= x[i]), within ZERO_REACH; else `at`."""
    for k in range(ZERO_REACH):
        i = at + k * step
        if 0 < i < len(x) and x[i - 1] < 0 <= x[i]:
            return i
    return at


def level_edges(y, start_cut, end_cut):
    """Each cut edge's 20 ms brought to EDGE_DB with a gain that eases back to 1, so
    that any two everyday clips join at the same level."""
    n, edge, ramp = len(y), EDGE_MS * RATE // 1000, EDGE_RAMP_MS * RATE // 1000
    gain = [1.0] * n
    for cut, span in ((start_cut, range(0, min(n, edge + ramp))),
                      (end_cut, range(max(0, n - edge - ramp), n))):
        if not cut:
            continue
        window = y[:edge] if span.start == 0 else y[n - edge:]
        g = 10 ** (max(-EDGE_MAX_DB, min(EDGE_MAX_DB, EDGE_DB - rms_db(window))) / 20)
        for i in span:
            inside = i if span.start == 0 else n - 1 - i  # distance from the edge
            share = 1.0 if inside < edge else 1.0 - (inside - edge) / ramp
            gain[i] *= g ** share
    return [v * g for v, g in zip(y, gain)]


def shape_everyday(x, start_ms, end_ms, voice, pause_ms, keep_start, level_start, level_end):
    """An everyday clip: cut where mbrola put its first and last phone (an end at
    None is trimmed at the sound, as a clear clip's), levelled as the clear clips,
    the edges cut inside the voice levelled (level_start, level_end) and moved to a
    rising zero, every other cut edge eased against clicks; pause_ms of silence after.
    keep_start: the first phone is kept whole from where it starts, else a stop's
    closure is trimmed."""
    start = start_ms * RATE // 1000
    loud = [i for i, v in enumerate(x) if abs(v) >= SILENCE]
    if not keep_start:
        start = max(start, min(i for i in loud if i >= start) - EDGE_LEAD)
    stop = end_ms * RATE // 1000 if end_ms is not None else min(len(x), loud[-1] + 1 + TAIL)
    # An edge cut inside the voice is moved, outwards, to where the wave rises through
    # zero: two such edges join without a click and without a fade's dip.
    if level_start:
        start = rising_zero(x, start, -1)
    if level_end:
        stop = rising_zero(x, stop, 1)
    gain = 10 ** ((voice.level - loudness(soft_limit(x[start:stop]))) / 20)
    for _ in range(20):
        y = soft_limit([gain * v for v in x[start:stop]])
        error = voice.level - loudness(y)
        if abs(error) < 0.01:
            break
        gain *= 10 ** (error / 20)
    y = level_edges(y, level_start, level_end)
    n = len(y)
    for i in range(0 if level_start else EDGE_FADE):
        y[i] *= 0.5 - 0.5 * math.cos(math.pi * i / EDGE_FADE)
    fade_out = 0 if level_end else EDGE_FADE if end_ms is not None else FADE_OUT
    for i in range(fade_out):
        y[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / fade_out)
    y += [0.0] * (pause_ms * RATE // 1000)
    return start, [max(-32768, min(32767, int(math.floor(v + 0.5)))) for v in y]


def make_everyday(args, catalogue, rows, chosen, date):
    """The everyday recordings of every clip everyday.tsv lists, in each form listed."""
    voice = VOICES[args.voice]
    texts = {name: text for _, name, text in catalogue}
    forms_of = {name: forms.split() for name, forms in read_tsv(EVERYDAY, 2)}
    table = {row[0]: row[3:] for row in rows if len(row) == 6}
    missing = sorted(set(forms_of) - set(table)) + sorted(set(forms_of) - set(texts))
    if missing:
        fail("everyday.tsv lists clips without an everyday form or a catalogue line: "
             + " ".join(missing))
    if args.pho_only:
        fail("the everyday recordings are timed from their renderings: no --pho-only")
    check_tools(args.voice)
    software = tool_versions(args.voice)
    pho_root = os.path.join(VOICE_DIR, args.voice, "everyday")
    clip_root = os.path.join(CLIP_DIR, voice.folder, "everyday")
    with tempfile.TemporaryDirectory(prefix="make_clips.") as scratch:
        for name, forms in forms_of.items():
            if name not in chosen:
                continue
            spelling, transcription, _ = table[name]
            for form in forms:
                pho = os.path.join(pho_root, form, name + ".pho")
                samples = make_everyday_clip(transcription, form, name, spelling, pho,
                                             voice, args.voice, scratch)
                path = os.path.join(clip_root, form, name + ".wav")
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(wav_bytes(samples, spelling, date, software))
                print("%-6s %-6s %-12s %.2f s" % (name, form, spelling, len(samples) / RATE))


def make_everyday_clip(transcription, form, name, spelling, pho, voice, database, scratch):
    """One everyday recording, its .pho written beside the others.  Its pace is set
    by the sound itself: what a voice's diphones, a breath or a fade add to a word
    differs from word to word, so the word is rendered, timed and stretched until
    its sound runs at the style's pace, within limits."""
    stretch, best = 1.0, None
    for _ in range(8):
        try:
            phones = everyday.phones(transcription, form, voice.breath, stretch, voice.late)
        except prosody.TranscriptionError as e:
            fail("%s (everyday): %s" % (name, e))
        # A number's end dies away: its last phone, or the breath after a vowel, is
        # faded out (die_away); with a breath, a stop ends on its release.
        die = form == everyday.LAST and (not voice.breath or
                                         phones[-1].symbol not in prosody.STOPS)
        syllables = sum(1 for p in phones if p.vowel)
        if voice.south:
            phones = prosody.south_swedish(phones)
        prosody.respell(phones, voice.respell)
        # Cut where the phones mbrola is given lie, the south's r included.
        start_ms, end_ms = everyday.cut_points(phones, form)
        body = everyday.pho_lines(phones, form, voice.scale, voice.breath)
        pause = {everyday.PHRASE_END: everyday.PAUSE_MS,
                 everyday.CLOSED: everyday.CLOSURE_MS - everyday.CLOSURE_ONSET_MS}.get(form, 0)
        start, samples = shape_everyday(
            render_lines(body, pho, database, scratch, die), start_ms, end_ms, voice, pause,
            keep_start=not phones[0].voiced and phones[0].symbol not in prosody.STOPS,
            level_start=everyday.after_context(phones),
            level_end=everyday.before_context(phones, form))
        # Where the recording lies in the rendering, for a reader and the source check.
        lines = ["; %s, everyday, %s: %s" % (name, form, spelling),
                 "; cut: samples %d to %d at %d Hz" % (
                     start, start + len(samples) - pause * RATE // 1000, RATE)] + body
        with open(pho, "w", encoding="utf-8") as f:
            f.write("\n".join(lines) + "\n")
        loud = [i for i, v in enumerate(samples) if abs(v) >= SILENCE]
        rate = syllables * RATE / (loud[-1] + 1 - loud[0])
        target = everyday.pace(form, prosody.clitic(phones))
        if best is None or abs(rate / target - 1) < best[0]:
            best = (abs(rate / target - 1), lines, samples)
        if abs(rate / target - 1) < 0.015:
            break
        # A lone syllable's sound, ending in a faded stop or a held phone, times short:
        # it is stretched less. A lone last syllable keeps room for the number's accent.
        longest = 1.3 if syllables == 1 else 1.8
        shortest = 0.85 if syllables == 1 and form == everyday.LAST else 0.55
        wanted = min(longest, max(shortest, stretch * rate / target))
        if wanted == stretch:
            break
        stretch = wanted
    # The rendering nearest the pace, with the source it came from.
    with open(pho, "w", encoding="utf-8") as f:
        f.write("\n".join(best[1]) + "\n")
    return best[2]


def read_samples(path):
    with open(path, "rb") as f:
        data = f.read()
    size = struct.unpack("<I", data[40:44])[0]
    return list(struct.unpack("<%dh" % (size // 2), data[44:44 + size]))


def measure(path, text, praat_range):
    s = read_samples(path)
    loud = [i for i, v in enumerate(s) if abs(v) >= SILENCE]
    seconds = (loud[-1] - loud[0] + 1) / RATE
    result = {"duration": len(s) / RATE, "loudness": loudness([float(v) for v in s]),
              "rate": syllables(text) / seconds, "praat": None}
    if shutil.which("praat"):
        # The pitch measured from the audio, beside the .pho file's values.
        out = run(["praat", "--run", os.path.join(VOICE_DIR, "pitch.praat"), path]
                  + [str(hz) for hz in praat_range]).stdout.decode().split()
        result["praat"] = " ".join(out)
    return result


def figures(catalogue, contours, measures, voice):
    lines = ["# Made by tools/make_clips.py (voice %s): one line a clip, then the joins." % voice,
             "# loudness: K-weighted level of the loudest 100 ms, dB of full scale;",
             "# syl/s: syllables a second between the first and last sample above -40 dBFS;",
             "# peak: the phoneme holding the highest pitch point and its Hz; end: the last",
             "# pitch point on a voiced phoneme, Hz, and its distance below the peak; a",
             "# clitic is level: its one pitch in both;",
             "# Praat: the highest and the last pitch Praat measures in the audio, Hz.",
             "%-15s %8s %9s %6s %-12s %-20s %s" % ("clip", "seconds", "loudness", "syl/s", "peak",
                                                "end", "Praat")]
    scale = VOICES[voice].scale
    for _, name, _ in catalogue:
        c = prosody.contour(contours[name])
        m = measures.get(name)
        peak_phone, peak_hz = c["peak"][0], c["peak"][1] * scale
        shape = ("level %.0f" % peak_hz, "%.0f (level)" % peak_hz) if prosody.clitic(
            contours[name]) else ("%s %.0f" % (peak_phone, peak_hz), "%.0f (%.1f st below)" % (
                c["last"] * scale, 12 * math.log2(peak_hz / (c["last"] * scale))))
        lines.append("%-15s %8s %9s %6s %-12s %-20s %s" % (
            name, "%.2f" % m["duration"] if m else "-", "%.2f" % m["loudness"] if m else "-",
            "%.2f" % m["rate"] if m else "-", *shape, (m or {}).get("praat") or "-"))
    median, p95, count = joins.statistics(contours)
    lines.append("")
    lines.append("joins over every number 0-99999: %d; pitch step at a join, semitones: "
                 "median %.2f, 95th percentile %.2f" % (count, median, p95))
    say = os.path.join(ROOT, "build", "app", "talmo-say")
    if os.path.exists(say):
        # The tool's copy of the number speaker's rules must agree with the program.
        wrong = joins.check_against(say)
        if wrong:
            fail("the join rules differ from talmo-say --clips, e.g. %d: %s, not %s" % wrong[0])
        lines.append("the rules that chose the clips agree with talmo-say --clips on a sample "
                     "of 212 numbers")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    main()
