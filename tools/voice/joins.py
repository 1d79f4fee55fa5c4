# SPDX-License-Identifier: MIT
"""The clips of every number, as the number speaker chooses them, and the pitch steps
at their joins.  A copy of the speaker's rules: `talmo-say --clips N` is the
reference, and check_against() compares the two on a sample."""
import math
import random
import subprocess

SMALL = ["0NOLL", "1ETT", "2TVA", "3TRE", "4FYRA", "5FEM", "6SEX", "7SJU", "8ATTA",
         "9NIO", "10TIO", "11ELVA", "12TOLV"] + ["N%d" % n for n in range(13, 30)]
TENS = {n: "N%d" % n for n in range(20, 100, 10)}
NUMBER_WORDS = set(SMALL) | set(TENS.values()) | {"N100", "N1000"}


def _group(x, threshold):
    if x == 0:
        return []
    if x < threshold:
        return [SMALL[x]]
    return [TENS[10 * (x // 10)]] + ([SMALL[x % 10]] if x % 10 else [])


def number_clips(n):
    if n < 30:
        return [SMALL[n]]
    if n <= 99:
        return _group(n, 30)
    if n <= 999:
        return [SMALL[n // 100], "N100"] + _group(n % 100, 30)
    clips = _group(n // 1000, 30) + ["N1000"]
    rest = n % 1000
    if rest // 100:
        clips += [SMALL[rest // 100], "N100"]
    return clips + _group(rest % 100, 20)


def everyday_clips(n):
    """[(clip, form)] of n in the everyday style, as the number speaker's
    EverydayClips says it: no ett before a leading hundra or tusen, one phrase but
    where hundreds follow the thousands (tusen then ends the first), and ett or
    tjugoett closed before tusen."""
    clips = number_clips(n)
    if 100 <= n <= 199 or 1000 <= n <= 1999:
        clips = clips[1:]
    result = []
    for k, clip in enumerate(clips):
        form = "last" if k + 1 == len(clips) else "inner"
        if form == "inner" and clip == "N1000" and n % 1000 >= 100:
            form = "phrase-end"
        elif form == "inner" and clips[k + 1] == "N1000" and clip in ("1ETT", "N21"):
            form = "closed"
        result.append((clip, form))
    return result


def steps(contours):
    """Every join's pitch step in semitones, over every number from 0 to 99999."""
    result = []
    for n in range(100000):
        clips = number_clips(n)
        for a, b in zip(clips, clips[1:]):
            result.append(abs(12 * math.log2(_first(contours[b]) / _last(contours[a]))))
    return result


def _first(phones):
    return next(hz for p in phones if p.voiced for _, hz in p.pitch)


def _last(phones):
    return [hz for p in phones if p.voiced for _, hz in p.pitch][-1]


def statistics(contours):
    values = sorted(steps(contours))
    median = values[len(values) // 2]
    p95 = values[min(len(values) - 1, int(math.ceil(0.95 * len(values))) - 1)]
    return median, p95, len(values)


def check_against(say, count=200, seed=7):
    """Differences between these rules and `say --clips` (and, for the everyday style,
    `say --style everyday --recordings`) on a sample of numbers."""
    rng = random.Random(seed)
    sample = [0, 20, 21, 29, 30, 99, 100, 101, 999, 1000, 1021, 99999] + \
        [rng.randrange(100000) for _ in range(count)]
    wrong = []
    for n in sample:
        for mode, ours in ((["--clips"], number_clips(n)),
                           (["--style", "everyday", "--recordings"],
                            ["%s/%s" % said for said in everyday_clips(n)])):
            out = subprocess.run([say] + mode + [str(n)], stdout=subprocess.PIPE, check=True)
            theirs = out.stdout.decode().strip().split(", ")
            if theirs != ours:
                wrong.append((n, theirs, ours))
    return wrong
