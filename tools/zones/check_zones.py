#!/usr/bin/env python3
"""Holds the engine's reading of every zone against Python's zoneinfo.

Both read the system's tz database (/usr/share/zoneinfo); Python's reader is
an independent one that applies each file's closing POSIX rule past its last
stored change. Compared from 1880 to 2079:

  offset   the UTC offset every day at 00:00 UTC and beside each change
  dst      the daylight-saving part at those instants (Python's dst())
  reading  which instants a clock reading names: one, none (a gap) or two
           (a fold), at and beside each change of offset

Usage: tools/zones/check_zones.py build/native/tools/zone_dump [ZONE...]
Zones the engine does not know (zoneinfo lists "Factory") are named and
left out. Prints the first differences of each kind (a run of differing
daylight-saving parts once), the counts, and how many zones differ in each
kind; exits 1 on any difference. Python's dst() is a guess of its own where
the files do not hold the amount (docs/chart.md, "Zones"): where the two
differ, the zone's source lines decide.
Takes a few minutes over every zone, so it is not part of ctest.
"""
import bisect
import subprocess
import sys
from collections import defaultdict
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo, available_timezones

EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
FROM, TO = -2840140800, 3471292800  # 1880-01-01 and 2080-01-01, UTC
DAY = 86400


def python_at(zone, utc):
    local = (EPOCH + timedelta(seconds=utc)).astimezone(zone)
    return int(local.utcoffset().total_seconds()), int(local.dst().total_seconds())


def python_reading(zone, clock):
    naive = datetime(1970, 1, 1) + timedelta(seconds=clock)
    found = set()
    for fold in (0, 1):
        utc = int((naive.replace(tzinfo=zone, fold=fold) - EPOCH).total_seconds())
        if utc + python_at(zone, utc)[0] == clock:
            found.add(utc)
    if found:
        return ("u" if len(found) == 1 else "f", min(found), max(found))
    offsets = [int(naive.replace(tzinfo=zone, fold=f).utcoffset().total_seconds()) for f in (0, 1)]
    return ("g", clock - max(offsets), clock - min(offsets))


def main():
    dump, zones = sys.argv[1], sys.argv[2:] or sorted(available_timezones())

    def ask(lines):
        return subprocess.run([dump], input="\n".join(lines) + "\n", capture_output=True, text=True,
                              check=True).stdout.splitlines()

    stretches = defaultdict(list)
    unknown = []
    for line in ask(zones):
        kind, zone, *values = line.split()
        if kind == "E":
            unknown.append(zone)
        else:
            stretches[zone].append(tuple(map(int, values)))
    if unknown:
        print("not known to the engine:", " ".join(unknown))
    zones = [zone for zone in zones if zone not in unknown]
    counts = defaultdict(int)
    shown = defaultdict(int)

    zones_differing = defaultdict(set)

    def differ(what, zone, detail):
        counts[what] += 1
        zones_differing[what].add(zone)
        if shown[what] < 10:
            shown[what] += 1
            print(f"{what}: {zone} {detail}")

    clocks = []
    for name in zones:
        zone = ZoneInfo(name)
        ours = stretches[name]
        begins = [s[0] for s in ours]
        changes = set(begins[1:])
        days = list(range(FROM, TO, DAY))
        seen = [python_at(zone, utc) for utc in days]
        for i in range(1, len(days)):
            if seen[i] != seen[i - 1]:  # the first second of Python's change, by halving
                low, high = days[i - 1], days[i]
                while high - low > 1:
                    middle = (low + high) // 2
                    low, high = (middle, high) if python_at(zone, middle) == seen[i - 1] else (low, middle)
                changes.add(high)
        instants = dict(zip(days, seen))
        for change in changes:
            for utc in (change - 1, change):
                instants.setdefault(utc, python_at(zone, utc))
            before, after = python_at(zone, change - 1)[0], python_at(zone, change)[0]
            low, high = change + min(before, after), change + max(before, after)
            clocks += [f"{name} {clock}" for clock in sorted({low - 1, low, (low + high) // 2, high - 1, high})]
        run = None  # a stretch of daylight-saving parts that differ, shown once
        for utc, theirs in sorted(instants.items()):
            _, total, dst = ours[max(0, bisect.bisect_right(begins, utc) - 1)]
            when = (EPOCH + timedelta(seconds=utc)).isoformat()[:19] + "Z"
            counts["instants"] += 1
            if total != theirs[0]:
                differ("offset", name, f"{when} ours {total} zoneinfo {theirs[0]}")
            elif dst != theirs[1]:
                counts["dst"] += 1
                zones_differing["dst"].add(name)
                if run and run[1:] == (dst, theirs[1]):
                    continue
                run = (when, dst, theirs[1])
                counts["dst runs"] += 1
                if shown["dst"] < 40:
                    shown["dst"] += 1
                    print(f"dst: {name} from {when} ours {dst} zoneinfo {theirs[1]}")
                continue
            run = None
        counts["zones"] += 1
    for line in ask(clocks):
        _, name, clock, kind, earlier, later = line.split()
        counts["readings"] += 1
        ours, theirs = (kind, int(earlier), int(later)), python_reading(ZoneInfo(name), int(clock))
        if ours != theirs:
            when = (datetime(1970, 1, 1) + timedelta(seconds=int(clock))).isoformat()
            differ("reading", name, f"{when} ours {' '.join(map(str, ours))} zoneinfo {' '.join(map(str, theirs))}")
    print(" ".join(f"{k}={counts[k]}" for k in ("zones", "instants", "readings", "offset", "dst", "dst runs", "reading")))
    print("zones differing:", " ".join(f"{k}={len(zones_differing[k])}" for k in ("offset", "dst", "reading")))
    sys.exit(1 if counts["offset"] or counts["dst"] or counts["reading"] else 0)


if __name__ == "__main__":
    main()
