#!/usr/bin/env python3
"""Make Talmo's Swedish voice clips from resources/clips/catalogue.tsv.

Each catalogue row CATEGORY<TAB>NAME<TAB>text becomes resources/clips/CATEGORY/NAME.wav:
8000 Hz mono 16-bit PCM followed by a LIST/INFO chunk (INAM = text, ICRD = date,
ISFT = the tools used).  espeak-ng's Swedish voice speaks, sox converts the rate,
and this script trims, levels, limits and fades.  The phonemes espeak-ng used are
printed and written to tools/clip-phonemes.txt so a reviewer can check them.

    tools/make_clips.py                     # remake every clip
    tools/make_clips.py --only N18 ARTONDE  # remake some
    tools/make_clips.py --list              # phoneme listing only
    tools/make_clips.py --date 2024-05-01   # date stored in ICRD

Standard library only.  Same inputs and tool versions give byte-identical files
apart from the ICRD date.
"""
import argparse
import datetime
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CATALOGUE = os.path.join(ROOT, "resources", "clips", "catalogue.tsv")
CLIP_DIR = os.path.join(ROOT, "resources", "clips")
LISTING = os.path.join(ROOT, "tools", "clip-phonemes.txt")

RATE = 8000
SPEED = 130          # espeak words per minute: slowish, so a learner can follow
TARGET_DBFS = -17.0  # voiced RMS every clip is levelled to
SILENCE = 328        # |s| below this (-40 dBFS) counts as silence
LEAD = 120           # samples kept before the first non-silent sample (15 ms)
TAIL = 120           # samples kept after the last one (15 ms of low-level tail)
FADE = 32            # raised-cosine fade in and out (4 ms), so clips join without clicks
CEILING = 29500.0    # limiter ceiling, under -0.5 dBFS (30934) with room for rounding
LIMIT_REACH = 40     # limiter gain moves smoothly over +-5 ms around each peak

# espeak-ng input replacing the catalogue text where the sv voice gets it wrong.
# [[...]] is espeak phoneme input (its mnemonics, e.g. sx = sj-sound, S; = tj-sound,
# 8 = short u, W = short ö, & = ä before r, u- = long Swedish u).  The sv voice has
# no retroflex t/d, so rt/rd use plain t/d, as espeak itself does for "kort".
# Always write r as R here: espeak's "r" is an English r.
TJUGO = "S;'u-gU"    # tjugo: espeak ends it in a long uː; standard ˈɕʉːɡʊ
OVERRIDES = {
    # ett: standard ɛtː; the long t also lifts the clip over 0.35 s (espeak: 0.31 s).
    "1ETT": "[['Et:]]",
    # nio, tio: espeak ends in a long uː ("nii-oo"); standard ˈniːʊ, ˈtiːʊ.
    "9NIO": "[[n'i:U]]",
    "10TIO": "[[t'i:U]]",
    # The -ton teens: espeak says -toon (uːn); standard is -tɔn.
    "N13": "[[tR'Et:On]]",
    "N14": "[[fj'u:tOn]]",
    "N15": "[[f'EmtOn]]",
    "N16": "[[s'EkstOn]]",
    "N17": "[[sx'8t:On]]",
    "N18": "[['A:tOn]]",         # also stress: espeak says atˈuːn
    "N19": "[[n'It:On]]",
    "N20": "[[" + TJUGO + "]]",
    # tjugo- compounds: keep tjugo as above and the unit word whole; espeak
    # reduces some units (tjugotre -> trə, tjugofem -> fəm) and varies tjugo's end.
    "N21": "[[" + TJUGO + ",Et:]]",
    "N22": "[[" + TJUGO + ",tvo:]]",
    "N23": "[[" + TJUGO + ",tRe:]]",
    "N24": "[[" + TJUGO + ",fy:Ra]]",
    "N25": "[[" + TJUGO + ",fEm]]",
    "N26": "[[" + TJUGO + ",sEks]]",
    "N27": "[[" + TJUGO + ",sxu-]]",
    "N28": "[[" + TJUGO + ",Ot:a]]",
    "N29": "[[" + TJUGO + ",ni:U]]",
    # The -tio tens: espeak says -tiː-ˌuː with a stressed final o; use the
    # everyday standard form ˈtrɛtːɪ (fyrtio as ˈfœtːɪ, not espeak's "fyt").
    "N30": "[[tR'Et:I]]",
    "N40": "[[f'Wt:I]]",
    "N50": "[[f'EmtI]]",
    "N60": "[[s'EkstI]]",
    "N70": "[[sx'8t:I]]",
    "N80": "[['Ot:I]]",
    "N90": "[[n'It:I]]",
    "5GANGER6": "fem gånger sex är lika med [[tR'Et:I]]",
    # etthundraett: espeak runs the last "ett" into -a as "aət".
    "N101": "[['Et:h8ndRa,Et:]]",
    # tvåhundra: espeak puts a secondary stress on the final -a.
    "N200": "[[tv'o:,h8ndRa]]",
    # tiotusen: same nio/tio ending problem.
    "N10000": "[[t'i:U,tu-sEn]]",
    # miljoner, miljarder: stress belongs on the second syllable.
    "N2MILJONER": "två [[mIlj'u:nER]]",
    "7MILJARDER": "sju [[mIlj'A:dER]]",
    # -delar: espeak reduces the vowels of -dedelar / -delar; standard ˌdeːlar.
    "TVATREDJEDELAR": "två [[tR'e:djE,de:laR]]",
    "TREFJARDEDELAR": "tre [[fj'&:dE,de:laR]]",
    "SJUATTONDELAR": "sju [['Ot:On,de:laR]]",
    # fjärde: ä before r is æː and rd is one sound; espeak says fjˈɛːrdə.
    "FJARDE": "[[fj'&:dE]]",
    # tionde: espeak says "sjonde" (sxˈɔndə).
    "TIONDE": "[[t'i:OndE]]",
    # artonde: wrong stress as in arton.
    "ARTONDE": "[['A:tOndE]]",
}


def fail(message):
    sys.exit("make_clips: " + message)


def check_tools():
    """Stop at once, naming what is missing, before any clip is touched."""
    missing = [t for t in ("espeak-ng", "sox") if shutil.which(t) is None]
    if missing:
        fail("missing required program(s): %s (Debian: apt-get install %s)"
             % (", ".join(missing), " ".join(missing)))
    voices = run(["espeak-ng", "--voices=sv"]).decode("utf-8", "replace")
    if not re.search(r"\bsv\b", voices):
        fail("espeak-ng has no Swedish (sv) voice")


def run(cmd):
    result = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if result.returncode != 0:
        fail("command failed: %s\n%s" % (" ".join(cmd), result.stderr.decode("utf-8", "replace")))
    return result.stdout


def tool_versions():
    def version(cmd):
        m = re.search(r"(\d+\.\d+(?:\.\d+)?)", run(cmd).decode("utf-8", "replace"))
        return m.group(1) if m else "unknown"
    return "espeak-ng %s (sv), sox %s" % (version(["espeak-ng", "--version"]),
                                          version(["sox", "--version"]))


def read_catalogue():
    rows = []
    with open(CATALOGUE, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if len(fields) != 3:
                fail("%s:%d: expected CATEGORY<TAB>NAME<TAB>text" % (CATALOGUE, number))
            rows.append(tuple(fields))
    return rows


def espeak(name, text, wav=None):
    """Speak a row (or just phonemize it when wav is None); return the IPA used."""
    cmd = ["espeak-ng", "-v", "sv", "-s", str(SPEED), "-z", "--ipa"]
    cmd += ["-w", wav] if wav else ["-q"]
    ipa = run(cmd + ["--", OVERRIDES.get(name, text)]).decode("utf-8")
    return " ".join(ipa.split())


def listing_line(name, text, ipa):
    line = "%-15s %-46s /%s/" % (name, text, ipa)
    if name in OVERRIDES:
        line += "    <- " + OVERRIDES[name]
    return line


def load_8k(wav):
    """Rate-convert with sox (high quality, no dither) to float samples in int16 units."""
    raw = run(["sox", "-D", wav, "-t", "raw", "-e", "floating-point", "-b", "32", "-L",
               "-c", "1", "-", "highpass", "70", "rate", "-v", str(RATE)])
    count = len(raw) // 4
    return [v * 32768.0 for v in struct.unpack("<%df" % count, raw[:count * 4])]


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


def voiced_rms(s):
    """RMS over the 20 ms frames (from sample 0) whose own RMS is not silence."""
    total, count = 0.0, 0
    for start in range(0, len(s) - 159, 160):
        energy = sum(v * v for v in s[start:start + 160])
        if math.sqrt(energy / 160) >= SILENCE:
            total, count = total + energy, count + 160
    return math.sqrt(total / count) if count else 0.0


def shape(x):
    """Trim, level to TARGET_DBFS, soft-limit and fade; returns int16 values.

    Trimming depends on the level and the level on the trimmed frames, so the
    two are settled together over a few rounds."""
    target = 32768.0 * 10 ** (TARGET_DBFS / 20)
    gain = 1.0
    for _ in range(20):
        y = soft_limit([gain * v for v in x])
        loud = [i for i, v in enumerate(y) if abs(v) >= SILENCE]
        if not loud:
            fail("clip is silent")
        start, end = max(0, loud[0] - LEAD), min(len(y), loud[-1] + 1 + TAIL)
        level = voiced_rms(y[start:end])
        gain *= target / level
        if abs(20 * math.log10(target / level)) < 0.01:
            break
    else:
        fail("level did not settle")
    y = y[start:end]
    n = len(y)
    for i in range(FADE):
        w = 0.5 - 0.5 * math.cos(math.pi * i / FADE)
        y[i] *= w
        y[n - 1 - i] *= w
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


def make_clip(category, name, text, date, software, scratch):
    tmp = os.path.join(scratch, name + ".wav")
    ipa = espeak(name, text, tmp)
    samples = shape(load_8k(tmp))
    os.makedirs(os.path.join(CLIP_DIR, category), exist_ok=True)
    with open(os.path.join(CLIP_DIR, category, name + ".wav"), "wb") as f:
        f.write(wav_bytes(samples, text, date, software))
    return ipa, len(samples) / RATE


def default_date():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if epoch:
        return datetime.datetime.fromtimestamp(int(epoch), datetime.timezone.utc).strftime("%Y-%m-%d")
    return datetime.date.today().isoformat()


def main():
    parser = argparse.ArgumentParser(description="Make Talmo's Swedish voice clips.")
    parser.add_argument("--only", nargs="+", metavar="NAME", help="remake only these clips")
    parser.add_argument("--date", help="ICRD date, YYYY-MM-DD (default: SOURCE_DATE_EPOCH or today)")
    parser.add_argument("--list", action="store_true", help="only print the phoneme listing")
    args = parser.parse_args()

    date = args.date or default_date()
    if not re.fullmatch(r"\d{4}-\d{2}-\d{2}", date):
        fail("--date must look like YYYY-MM-DD, not %r" % date)
    check_tools()
    rows = read_catalogue()
    names = {row[1] for row in rows}
    unknown = sorted(set(args.only or []) - names) + sorted(set(OVERRIDES) - names)
    if unknown:
        fail("unknown clip name(s): " + " ".join(unknown))
    chosen = set(args.only) if args.only else names

    software = tool_versions()
    listing = ["# Phonemes espeak-ng used for each clip (espeak-ng -v sv -s %d -z --ipa)." % SPEED,
               "# Made by tools/make_clips.py with %s.  '<-' marks espeak input that"
               " replaces the text." % software,
               "# Notes: espeak's Swedish u- prints as ʉ but is its long ʉː; sx is the"
               " sj-sound ɧ; rt/rd are plain t/d.", ""]
    with tempfile.TemporaryDirectory(prefix="make_clips.") as scratch:
        for category, name, text in rows:
            if name in chosen and not args.list:
                ipa, seconds = make_clip(category, name, text, date, software, scratch)
                print("%s  %.2f s" % (listing_line(name, text, ipa), seconds))
            else:
                ipa = espeak(name, text)
                if name in chosen:
                    print(listing_line(name, text, ipa))
            listing.append(listing_line(name, text, ipa))
    with open(LISTING, "w", encoding="utf-8") as f:
        f.write("\n".join(listing) + "\n")


if __name__ == "__main__":
    main()
