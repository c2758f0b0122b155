#!/usr/bin/env python3
"""Expected numbers for tst_recenttrend, worked out independently of the C++
code: plain Python with exact integers, a full sort instead of selection.
Prints one C++ row per series; tst_recenttrend.cpp holds what this printed.

Each row: readings in the window, its earliest date, the latest cleanup's
date, 1 when the window begins at it, then slope, low and high (bytes/s), weeks, fill date, earliest and
latest fill dates; `none` where there is nothing."""
import math

T0 = 800000000.0
DAY = 86400.0
GB = 10**9
MB = 10**6


def r(day, used, free=100 * GB, capacity=500 * GB):
    return (T0 + day * DAY, used, free, capacity)


def is_low(readings, i):
    """At least max(1 GB, 1% of the capacity) below the highest of the readings
    earlier in the history dated in the 72 hours before it; the previous
    reading counts even when older."""
    date, used, _, capacity = readings[i]
    before = [x[1] for j, x in enumerate(readings[:i])
              if date - 3 * DAY <= x[0] < date or j == i - 1]
    drop = max(before) - used if before else 0
    return drop >= GB and 100 * drop >= capacity


def window_start(readings):
    """Where the latest run of low readings leaves the window: at its lowest
    reading (the earliest of equals), or at its first while still falling."""
    low = [i for i in range(len(readings)) if is_low(readings, i)]
    if not low:
        return None
    end = first = low[-1]
    while first - 1 in low:
        first -= 1
    lowest = min(range(first, end + 1), key=lambda i: (readings[i][1], i))
    return first if lowest == len(readings) - 1 else lowest


def trend(readings):
    cleanup = window_start(readings)
    last = readings[-1]
    start = cleanup if cleanup is not None else 0
    window = [x for x in readings[start:] if x[0] >= last[0] - 30 * DAY]
    n = len(window)
    dates = [x[0] for x in window]
    cleanup_date = readings[cleanup][0] if cleanup is not None else None
    since = cleanup_date is not None and cleanup_date >= last[0] - 30 * DAY
    head = [n, min(dates), cleanup_date, int(since)]
    if n < 3 or max(dates) - min(dates) < DAY:
        return head + [None] * 7
    if n > 1001:
        window = [window[k * (n - 1) // 1000] for k in range(1001)]
    m = len(window)
    slopes = sorted((window[j][1] - window[i][1]) / (window[j][0] - window[i][0])
                    for i in range(m) for j in range(i + 1, m)
                    if window[i][0] != window[j][0])
    N = len(slopes)
    median = slopes[N // 2] if N % 2 else (slopes[N // 2 - 1] + slopes[N // 2]) / 2
    C = 1.6449 * math.sqrt(m * (m - 1) * (2 * m + 5) / 18)
    low = slopes[min(max(math.floor((N - C) / 2) - 1, 0), N - 1)]
    high = slopes[min(max(math.ceil((N + C) / 2), 0), N - 1)]
    room = max(last[2], 0)
    def fill(s):
        return last[0] + room / s if s > 0 else None
    weeks = room / (median * 604800) if median > 0 else None
    return head + [median, low, high, weeks, fill(median), fill(high), fill(low)]


def sampled_series():
    return [(T0 + i * 1000.0, 100 * GB + i * MB + (i * 37 % 101) * 10 * MB, 50 * GB, 500 * GB)
            for i in range(1500)]


SERIES = {
    "steady growth": [r(0, 100000 * MB), r(1, 101500 * MB), r(2, 102000 * MB),
                      r(3, 103200 * MB), r(4, 104000 * MB), r(5, 105100 * MB, 40 * GB)],
    "cleanup restarts the window": [r(0, 200 * GB), r(1, 202 * GB), r(2, 204 * GB), r(3, 206 * GB),
                                    r(4, 190 * GB), r(5, 191 * GB), r(6, 193 * GB), r(7, 194 * GB)],
    "a drop of exactly 1% is a cleanup": [r(0, 300 * GB), r(1, 302 * GB), r(2, 297 * GB),
                                          r(3, 299 * GB), r(4, 300 * GB), r(5, 302 * GB)],
    "a drop under 1% is not": [r(0, 300 * GB), r(1, 302 * GB), r(2, 297100 * MB),
                               r(3, 299 * GB), r(4, 300 * GB), r(5, 302 * GB)],
    "a drop under 1 GB is not": [r(0, 10 * GB, GB, 20 * GB), r(1, 11 * GB, GB, 20 * GB),
                                 r(2, 11 * GB - 999999999, GB, 20 * GB),
                                 r(3, 12 * GB, GB, 20 * GB)],
    "equal dates": [r(0, 50 * GB), r(1, 51 * GB), r(1, 53 * GB), r(2, 52 * GB), r(3, 54 * GB)],
    "sampled above 1,001 readings": sampled_series(),
    "negative free space": [r(0, 100 * GB), r(1, 101 * GB), r(2, 103 * GB),
                            r(3, 104 * GB, -5 * GB)],
    "flat": [r(0, 70 * GB), r(1, 70 * GB), r(2, 70 * GB), r(3, 70 * GB)],
    "shrinking": [r(0, 100000 * MB), r(1, 99000 * MB), r(2, 100500 * MB), r(3, 98000 * MB),
                  r(4, 97500 * MB)],
    "cut at 30 days, after a cleanup": [r(5 * k, used * GB) for k, used in enumerate(
        [100, 90, 95, 100, 105, 115, 116, 117, 118, 119, 120])],
    "last reading dated before others": [r(0, 10 * GB), r(10, 20 * GB), r(60, 22 * GB),
                                         r(20, 21 * GB), r(35, 24 * GB)],
    "two readings": [r(0, 10 * GB), r(2, 12 * GB)],
    "three readings within a day": [r(0, 10 * GB), r(0.5, 11 * GB), (T0 + 86399, 12 * GB, 100 * GB, 500 * GB)],
    "three readings over a day": [r(0, 10 * GB), r(0.5, 11 * GB), r(1, 13 * GB)],
    "a cleanup leaves two": [r(0, 30 * GB), r(1, 31 * GB), r(2, 20 * GB), r(3, 21 * GB)],
    "a cleanup over three days": [r(k, used * GB, 100 * GB, 1000 * GB) for k, used in enumerate(
        [400, 401, 402, 403, 398, 393, 389, 390, 391, 392, 393])],
    "noise around the threshold": [r(k / 2, used * MB) for k, used in enumerate(
        [100000, 103000, 99000, 104000, 99100, 105000, 100000, 104000, 106000, 107000, 108000])],
    "two cleanups": [r(k, used * GB) for k, used in enumerate(
        [200, 202, 204, 195, 197, 199, 201, 203, 205, 190, 188, 190, 192, 194])],
    "still falling": [r(k, used * GB) for k, used in enumerate([120, 118, 116, 114, 112, 110])],
    "a cleanup among readings out of date order": [r(0, 210 * GB), r(6, 195 * GB), r(6, 200 * GB),
                                                   r(1, 205 * GB)],
    "out of date order, still falling": [r(0, 210 * GB), r(6, 195 * GB), r(6, 190 * GB),
                                         r(1, 185 * GB)],
    "a fall from a reading before the previous": [r(k / 2, used * GB) for k, used in enumerate(
        [100, 110, 109, 120, 118, 115, 116, 117, 118])],
    "a cleanup 30 days before the last reading": [r(5 * k, used * GB) for k, used in enumerate(
        [100, 105, 110, 115, 100, 101, 102, 103, 104, 105, 106])],
    "many readings out of date order": [r(day, used * GB) for day, used in [
        (0.0, 304), (0.5, 305), (3.5, 309), (1.5, 305), (2.0, 301), (2.5, 304), (3.0, 303), (1.0, 305), (4.0, 312), (4.5, 311)]],
    "a higher reading dated later is not before": [r(4, 305 * GB), r(3, 294 * GB), r(4, 296 * GB),
                                                   r(5, 299 * GB)],
}


def cpp(value):
    return "none" if value is None else repr(float(value))


for name, readings in SERIES.items():
    print(f'"{name}": {{{", ".join(cpp(v) for v in trend(readings))}}}')
