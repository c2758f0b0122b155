#!/usr/bin/env python3
"""Writes a demo history for the screenshot: 60 days of readings, three a day,
of two containers whose used space grows, as Quillbank's JSON history file.
Every run writes the same values relative to the current time.

usage: demo-history.py OUTPUT.json

scripts/demo-listing lists the same containers as they stand now, so that a
Check All after reading this history continues it."""
import json
import math
import random
import sys
import time
import uuid

REFERENCE_EPOCH = 978307200  # 2001-01-01 00:00:00 UTC in Unix time
DAY = 86400
GB = 1000000000

CONTAINERS = [
    {
        "conUUID": "5A2E7C1B-3D4F-4E8A-9B6C-1D2E3F4A5B6C",
        "conRef": "disk3",
        "capacity": 994662584320,
        "volumes": ["Macintosh HD", "Macintosh HD - Data", "Preboot", "Recovery", "VM"],
        "base": 402 * GB,
        "perDay": 0.9 * GB,
        "wobble": 1.5 * GB,
        "update": 9 * GB,
        "cleanup": 14 * GB,
    },
    {
        "conUUID": "0C6F1E2D-8B7A-4C3D-A1E0-9F8E7D6C5B4A",
        "conRef": "disk5",
        "capacity": 2000398934016,
        "volumes": ["Backup"],
        "base": 1140 * GB,
        "perDay": 2.2 * GB,
        "wobble": 3 * GB,
        "update": 0,
        "cleanup": 25 * GB,
    },
]


def used_at(container, unix_time, now):
    """Used space of a container at an instant: a steady trend, day-to-day churn, a large
    update around day 20 and a clean-up over days 38 to 41."""
    days = (unix_time - (now - 60 * DAY)) / DAY
    churn = (0.5 * math.sin(days * 0.9) + 0.3 * math.sin(days * 2.7 + 1.0)
             + 0.2 * math.sin(days * 6.1 + 2.0))
    def ramp(start, length):
        return min(max((days - start) / length, 0.0), 1.0)

    steps = container["update"] * ramp(20, 1.5) - container["cleanup"] * ramp(38, 3)
    return int(container["base"] + container["perDay"] * days
               + container["wobble"] * churn + steps)


def volume_sizes(container, used):
    """Splits the used space over the volumes: the second (data) volume holds most."""
    count = len(container["volumes"])
    if count == 1:
        return [used]
    small = [int(used * 0.02)] * count
    small[1] = used - sum(small) + small[1]
    return small


def container_record(container, used):
    return {
        "id": str(uuid.uuid4()).upper(),
        "conUUID": container["conUUID"],
        "conRef": container["conRef"],
        "capacity": container["capacity"],
        "free": container["capacity"] - used - 3 * GB,
        "volNames": ", ".join(container["volumes"]),
        "firstVolName": container["volumes"][0],
        "totalUsed": used,
    }


def history(now):
    readings = []
    start = now - 60 * DAY
    for step in range(60 * 3):
        instant = start + step * DAY / 3 + random.uniform(-1800, 1800)
        readings.append({
            "id": str(uuid.uuid4()).upper(),
            "date": instant - REFERENCE_EPOCH,
            "containers": [container_record(c, used_at(c, instant, now)) for c in CONTAINERS],
        })
    return readings


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    random.seed(7)
    with open(sys.argv[1], "w", encoding="utf-8") as out:
        json.dump(history(time.time() - 3600), out, indent=1)
        out.write("\n")


if __name__ == "__main__":
    main()
