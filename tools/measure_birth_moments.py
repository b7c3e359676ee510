#!/usr/bin/python3
"""Birth moments of the atlas against tzdata.

For random cities of the shipped atlas and random local birth times from 1900
to 2030 it asks `pelorin-cli place --time` for the moment a woman born there
and then would be stored with, and compares it with the UTC instant of that
local time in the city's IANA zone as Python's zoneinfo computes it (a skipped
or repeated time read with fold=0, the offset before the change, as the
program does). It also shows what the zone fields and the "L" hour gave before
the zone table, and, where a zone is still on local mean time, how far the zone
city's mean time is from the birth place's own.

Usage: measure_birth_moments.py --cli build/cli/pelorin-cli [--data data]
       [--zoneinfo DIR] [--count 400] [--seed 1]
"""

import argparse
import json
import os
import random
import subprocess
import sys
import tempfile
import zoneinfo
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

REGIONS = ["sng", "europa", "namerica", "samerica", "africa", "azia", "austral"]
RANGE_STARTS = [2426143.5, 2426381.5, 2435808.5, 2444695.5, 2445060.5,
                2447611.5, 2447975.5, 2448164.5, 2448640.5]
EPOCH_1900 = datetime(1899, 12, 31, 12, tzinfo=timezone.utc)  # day number 0
PERIODS = [(1900, 1929), (1930, 1969), (1970, 2030)]


def atlas(data):
    """[(region, country entry, city entry, city line, country line)]"""
    out = []
    for region in REGIONS:
        with open(os.path.join(data, region + ".wdt"), "rb") as f:
            lines = f.read().decode("cp1251").split("\r\n")
        country = None
        for line in lines:
            if not line:
                continue
            if line[0] == "*":
                country = line
            else:
                out.append((region, country[1:30].rstrip(), line[1:30].rstrip(), line, country))
    return out


def zone_names(data):
    names = {}
    with open(os.path.join(data, "zones.tzt"), encoding="ascii") as f:
        for line in f:
            if line.startswith("Z "):
                _, k, name, _, _ = line.split()
                names[int(k)] = name
    return names


def julian_day_0h(day, month, year):
    y, m = (year - 1, month + 12) if month <= 2 else (year, month)
    a = int(y / 100)
    b = 2 - a + int(a / 4)
    return int(365.25 * y) + int(30.6001 * (m + 1)) + day + b + 1720994.5


def field_zone(country_line, day, month, year):
    jd = julian_day_0h(day, month, year)
    field = 1 + sum(1 for s in RANGE_STARTS if jd >= s)
    col = 32 + 4 * (field - 1)
    return float(country_line[col:col + 4])


def day_number(moment):
    return (moment - EPOCH_1900).total_seconds() / 86400.0


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--cli", required=True)
    ap.add_argument("--data", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data"))
    ap.add_argument("--zoneinfo", default="/usr/share/zoneinfo")
    ap.add_argument("--count", type=int, default=400)
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    zoneinfo.reset_tzpath([os.path.abspath(args.zoneinfo)])

    cities = atlas(args.data)
    names = zone_names(args.data)
    rng = random.Random(args.seed)
    first = datetime(1900, 1, 1)
    span = (datetime(2031, 1, 1) - first).days

    with tempfile.TemporaryDirectory() as tmp:
        config = os.path.join(tmp, "main.dat")
        with open(config, "w") as f:
            f.write(tmp + "/\r\n" + os.path.abspath(args.data) + "/\r\n")
        rows = {p: {"n": 0, "exact": 0, "worst": 0.0, "old_off": 0, "old_worst": 0.0} for p in PERIODS}
        lmt = []
        clocks = {"skipped": 0, "repeated": 0}
        misses = []
        for _ in range(args.count):
            region, country, city, line, country_line = rng.choice(cities)
            local = first + timedelta(days=rng.randrange(span), minutes=rng.randrange(1440))
            date = local.strftime("%d.%m.%Y")
            time = local.strftime("%H:%M")
            out = subprocess.run([args.cli, "place", "--config", config, "--region", region,
                                  "--country", country, "--city", city, "--date", date, "--time", time],
                                 capture_output=True, text=True)
            if out.returncode != 0:
                sys.exit("pelorin-cli failed for %s / %s: %s" % (country, city, out.stderr))
            got = json.loads(out.stdout)
            name = names[int(line[45:49])]
            zone = ZoneInfo(name)
            instant = local.replace(tzinfo=zone, fold=0).astimezone(timezone.utc)
            want = day_number(instant)
            diff = abs(got["moment"] - want) * 1440.0
            old = day_number(local.replace(tzinfo=timezone.utc)) - field_zone(
                country_line, local.day, local.month, local.year) / 24.0 - 1 / 24.0
            old_diff = abs(old - want) * 1440.0
            period = next(p for p in PERIODS if p[0] <= local.year <= p[1])
            r = rows[period]
            r["n"] += 1
            r["exact"] += diff < 0.5 / 60
            r["worst"] = max(r["worst"], diff)
            r["old_off"] += old_diff >= 0.5
            r["old_worst"] = max(r["old_worst"], old_diff)
            if got["clock"] in clocks:
                clocks[got["clock"]] += 1
            if diff >= 0.5 / 60:
                misses.append((city, name, date, time, diff))
            # Local mean time: the zone's offset before its first change, which
            # tzdata takes at the zone's main city.
            offset = local.replace(tzinfo=zone, fold=0).utcoffset().total_seconds()
            first_offset = zone.utcoffset(datetime(1800, 1, 1))
            if offset == first_offset.total_seconds() and offset % 900 != 0:
                degrees = line[38:42].strip()
                lon = abs(int(degrees)) + int(line[43:45]) / 60.0
                if degrees.startswith("-"):
                    lon = -lon
                own = lon * 4 * 60  # seconds of the birth place's own mean time
                lmt.append((abs(offset - own) / 60.0, city, name, local.year))

    print("| Birth years | Births | Stored moment = tzdata | Worst difference, min | Before: off by 1 min or more | Before: worst, min |")
    print("|---|---|---|---|---|---|")
    total = {"n": 0, "exact": 0, "worst": 0.0, "old_off": 0, "old_worst": 0.0}
    for p in PERIODS:
        r = rows[p]
        print("| %d–%d | %d | %d | %.0f | %d | %.0f |" % (p[0], p[1], r["n"], r["exact"], r["worst"],
                                                        r["old_off"], r["old_worst"]))
        for k in ("n", "exact", "old_off"):
            total[k] += r[k]
        total["worst"] = max(total["worst"], r["worst"])
        total["old_worst"] = max(total["old_worst"], r["old_worst"])
    print("| all | %d | %d | %.0f | %d | %.0f |" % (total["n"], total["exact"], total["worst"],
                                                   total["old_off"], total["old_worst"]))
    print()
    print("local times skipped by a change of clocks: %d, repeated: %d" % (clocks["skipped"], clocks["repeated"]))
    for m in misses:
        print("differs from tzdata: %s (%s) %s %s by %.2f min" % m)
    if lmt:
        lmt.sort(reverse=True)
        print("births on local mean time: %d; the zone city's mean time against the birth place's own: "
              "worst %.0f min (%s, %s, %d), median %.0f min" %
              (len(lmt), lmt[0][0], lmt[0][1], lmt[0][2], lmt[0][3], lmt[len(lmt) // 2][0]))


if __name__ == "__main__":
    main()
