#!/usr/bin/python3
"""Writes the seven region files of the atlas (sng.wdt ... austral.wdt).

Sources, all from Debian packages:
  libgeonames0, libgeonames-common  the GeoNames cities (read through the
                                    library) and their Russian names (the
                                    library's translation catalogue, keyed by
                                    GeoNames id)
  iso-codes                         Russian country names
  tzdata                            the zone history of every city (zoneinfo
                                    and the TZif files themselves)

Usage: make_atlas.py [--out DIR] [--today YYYY-MM-DD] [--zoneinfo DIR]

Besides the region files it writes the zone table zones.tzt: the UTC offsets of
every zone the cities use, summer time included, with the instants they change,
from 1800 to 2100. Every city line carries the number of its zone in that table
after its coordinates (columns 46..49), every country line the zone of its
block's biggest city (columns 77..80); the place chooser reads neither column
range for anything else.

The output is Windows-1251 text with CR LF line ends. Running the tool twice
with the same packages and the same --today gives the same bytes.
"""

import argparse
import ctypes
import gettext
import json
import os
import struct
import sys
import tempfile
import unicodedata
import zoneinfo
from datetime import date, datetime, timedelta, timezone
from zoneinfo import ZoneInfo

GEONAMES_MO = "/usr/share/locale/ru/LC_MESSAGES/geonames.mo"
ISO_JSON = "/usr/share/iso-codes/json/iso_3166-1.json"
ISO_MO = "/usr/share/locale/ru/LC_MESSAGES/iso_3166-1.mo"
ZONEINFO_DIR = "/usr/share/zoneinfo"

# The span of the zone table: offsets are exact from the start of 1800 to the
# start of 2101; before it the first offset and after it the last one holds.
TABLE_FROM = datetime(1800, 1, 1, tzinfo=timezone.utc)
TABLE_TO = datetime(2101, 1, 1, tzinfo=timezone.utc)
EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
ZONE_TABLE = "zones.tzt"

# The day the eleventh zone field describes, and the end of the open last date
# range. Fixed so that a rerun gives the same files; pass --today to move it.
DEFAULT_TODAY = "2025-01-01"

# Date ranges of the ten zone fields, by Julian Day of the birth date at 0 h. A
# field holds the standard offset in force for the longest part of its range. The
# first range is open to the past and is taken from 1 May 1924; the last is open
# to the future and is taken up to the reference day.
RANGE_STARTS = [2423906.5, 2426143.5, 2426381.5, 2435808.5, 2444695.5,
                2445060.5, 2447611.5, 2447975.5, 2448164.5, 2448640.5]

REGIONS = [
    ("sng.wdt", "former Soviet republics",
     "AM AZ BY EE GE KG KZ LT LV MD RU TJ TM UA UZ"),
    ("europa.wdt", "Europe",
     "AD AL AT AX BA BE BG CH CY CZ DE DK ES FI FO FR GB GG GI GR HR HU IE IM IS IT "
     "JE LI LU MC ME MK MT NL NO PL PT RO RS SE SI SJ SK SM VA XK"),
    ("namerica.wdt", "North and Central America, Caribbean",
     "AG AI AW BB BL BM BQ BS BZ CA CR CU CW DM DO GD GL GP GT HN HT JM KN KY LC "
     "MF MQ MS MX NI PA PM PR SV SX TC TT US VC VG VI"),
    ("samerica.wdt", "South America",
     "AR BO BR CL CO EC FK GF GY PE PY SR UY VE"),
    ("africa.wdt", "Africa",
     "AO BF BI BJ BW CD CF CG CI CM CV DJ DZ EG EH ER ET GA GH GM GN GQ GW KE KM "
     "LR LS LY MA MG ML MR MU MW MZ NA NE NG RE RW SC SD SH SL SN SO SS ST SZ TD "
     "TF TG TN TZ UG YT ZA ZM ZW"),
    ("azia.wdt", "Asia",
     "AE AF BD BH BN BT CN HK ID IL IN IO IQ IR JO JP KH KP KR KW LA LB LK MM MN "
     "MO MV MY NP OM PH PK PS QA SA SG SY TH TL TR TW VN YE"),
    ("austral.wdt", "Australia and Oceania",
     "AS AU CK FJ FM GU KI MH MP NC NF NR NU NZ PF PG PN PW SB TK TO TV UM VU WF WS"),
]

# Country names where the catalogue's name is too long, too formal or missing.
COUNTRY_NAMES = {
    "BN": "Бруней",
    "CD": "ДР Конго",
    "CF": "ЦАР",
    "DO": "Доминиканская Республика",
    "FK": "Фолклендские острова",
    "FM": "Микронезия",
    "GB": "Великобритания",
    "IO": "Британская терр. в Инд. ок.",
    "IR": "Иран",
    "KP": "КНДР",
    "LA": "Лаос",
    "MP": "Северные Марианские острова",
    "RU": "Россия",
    "SH": "Остров Святой Елены",
    "SX": "Синт-Мартен",
    "SY": "Сирия",
    "TR": "Турция",
    "TW": "Тайвань",
    "UM": "Внешние малые острова США",
    "US": "США",
    "VA": "Ватикан",
    "VE": "Венесуэла",
    "VG": "Британские Виргинские о-ва",
    "XK": "Косово",
}

# Cities whose Russian name in the catalogue is a former (mostly Soviet) one: the
# current name is shown, the former one stays findable (GeoNames id: current, former).
RENAMED = {
    "616530": ("Ванадзор", "Кировакан"),
    "704422": ("Покровск", "Красноармейск"),
    "699553": ("Звягель", "Новоград-Волынский"),
    "1521370": ("Риддер", "Лениногорск"),
    "161974": ("Берекет", "Газанджык"),
    "1219002": ("Керки", "Атамырат"),
    "692975": ("Кадиевка", "Стаханов"),
}

# Where the Russian catalogue has no name, the name in the country's own
# Cyrillic catalogue, its letters written as Russian writes them.
NATIVE_CYRILLIC = {"BG": "bg", "MK": "mk", "RS": "sr", "ME": "sr", "BA": "sr"}
NATIVE_LETTERS = {"ј": "й", "Ј": "Й", "љ": "ль", "Љ": "Ль", "њ": "нь", "Њ": "Нь", "ђ": "дж", "Ђ": "Дж",
                  "ћ": "ч", "Ћ": "Ч", "џ": "дж", "Џ": "Дж", "ѓ": "гь", "Ѓ": "Гь", "ќ": "кь", "Ќ": "Кь",
                  "ѕ": "дз", "Ѕ": "Дз"}

# The languages whose names of a city are also searched for ("Moscow", "München",
# "Kyiv"): GeoNames' own name and these catalogues of libgeonames-common.
ALTERNATE_LANGUAGES = ["en", "de", "fr", "es", "it", "pt", "pl", "nl", "uk", "be"]
ALTERNATES_FILE = "cities.alt"

NAME_WIDTH = 29       # name characters that the lists and the search keys see
COUNTRY_WIDTH = 29    # columns 2..30 of a country line


# ---------------------------------------------------------------- text helpers

FOLD = {"ø": "o", "Ø": "O", "ł": "l", "Ł": "L", "đ": "d", "Đ": "D", "ß": "ss",
        "æ": "ae", "Æ": "AE", "œ": "oe", "Œ": "OE", "ı": "i", "ð": "d", "Ð": "D",
        "þ": "th", "Þ": "Th", "ʻ": "'", "ʼ": "'", "‘": "'", "`": "'", "ʿ": "'",
        "ʾ": "'", "–": "-", "‐": "-", "‑": "-"}


def to_cp1251(text):
    """The text as Windows-1251 bytes; letters the code page lacks lose their
    accents (Lillerød -> Lillerod), anything else left becomes '?'."""
    out = bytearray()
    for ch in unicodedata.normalize("NFC", text):
        try:
            out += ch.encode("cp1251")
            continue
        except UnicodeEncodeError:
            pass
        ch = FOLD.get(ch, ch)
        for c in unicodedata.normalize("NFKD", ch):
            if unicodedata.combining(c):
                continue
            try:
                out += c.encode("cp1251")
            except UnicodeEncodeError:
                out += b"?"
    return bytes(out)


def collation_key(b):
    """Alphabetical order of cp1251 bytes: case folded, Ё right after Е, Latin
    before Cyrillic; the raw bytes break ties."""
    weights = []
    for x in b:
        if 0x61 <= x <= 0x7A:
            x -= 0x20
        elif 0xE0 <= x <= 0xFF:
            x -= 0x20
        elif x == 0xB8:
            x = 0xA8
        if x == 0xA8:
            w = 2 * 0xC5 + 1
        else:
            w = 2 * x
        weights.append(w)
    return (weights, list(b))


# ---------------------------------------------------------------- zone fields

def jd_to_utc(jd):
    return datetime(1858, 11, 17, tzinfo=timezone.utc) + timedelta(days=jd - 2400000.5)


def jd_of(d):
    return (d - date(1858, 11, 17)).days + 2400000.5


def field_ranges(today):
    """The (start, end) UTC moments of the ten date ranges, and the reference day."""
    t = jd_of(today)
    starts = [2423906.5] + RANGE_STARTS[1:]
    ends = RANGE_STARTS[1:] + [t]
    return [(jd_to_utc(a), jd_to_utc(b)) for a, b in zip(starts, ends)], jd_to_utc(t)


def has_negative_dst(zone, ranges):
    start, end = ranges[0][0], ranges[-1][1]
    t = start
    while t < end:
        if t.astimezone(zone).dst() < timedelta(0):
            return True
        t += timedelta(days=15)
    return False


def range_offset(zone, start, end, negative):
    """The standard offset in force for the longest part of [start, end), sampled
    every few days; a tie goes to the offset in force in the middle."""
    step = timedelta(days=10 if negative else 4)
    days = {}
    t = start
    while t < end:
        if negative:
            h = standard_offset(zone, t)
        else:
            local = t.astimezone(zone)
            h = (local.utcoffset() - local.dst()).total_seconds() / 3600.0
        days[h] = days.get(h, 0) + 1
        t += step
    middle = standard_offset(zone, start + (end - start) / 2)
    best = max(days.values())
    if days.get(middle) == best:
        return middle
    return min(h for h, n in days.items() if n == best)


def zone_fields(zone, ranges, today):
    negative = has_negative_dst(zone, ranges)
    fields = [range_offset(zone, a, b, negative) for a, b in ranges]
    fields.append(standard_offset(zone, today))
    return tuple(zone_field_text(h) for h in fields)


def standard_offset(zone, moment):
    """Hours east of Greenwich without summer time at `moment`.

    tzdata writes a few winter times as negative summer time (Ireland since
    1971, Namibia 1994-2017, Czechoslovakia 1946-47); there the winter offset is
    taken as the standard one, as people there would read their clocks. A short
    negative period within the year (Morocco's Ramadan time) stays an exception
    to the standard offset."""
    local = moment.astimezone(zone)
    std = local.utcoffset() - local.dst()
    negative_days = 0
    winter = None
    step = 3
    for k in range(-182, 183, step):
        probe = (moment + timedelta(days=k)).astimezone(zone)
        d = probe.dst()
        if d < timedelta(0) and probe.utcoffset() - d == std:
            negative_days += step
            winter = probe.utcoffset() if winter is None else min(winter, probe.utcoffset())
    if winter is not None and negative_days >= 90:
        std = winter
    return std.total_seconds() / 3600.0


def zone_field_text(hours):
    """Four characters, right-aligned: the offset with as many decimals (at most
    two) as fit."""
    for decimals in (2, 1, 0):
        s = "%.*f" % (decimals, hours)
        if "." in s:
            s = s.rstrip("0").rstrip(".")
        if s in ("-0", ""):
            s = "0"
        if len(s) <= 4:
            return s.rjust(4)
    raise ValueError("zone offset %r has no four-character form" % hours)


# ---------------------------------------------------------------- coordinates

def degrees_minutes(value):
    """(sign text, degrees, minutes) rounded to the nearest minute. A value south
    or west of zero keeps its minus also when the degrees are 0."""
    total = int(round(abs(value) * 60))
    deg, minute = divmod(total, 60)
    negative = value < 0 and total > 0
    return negative, deg, minute


def degree_text(negative, deg, width):
    return (("-" if negative else "") + str(deg)).rjust(width)


def city_line(name, lat, lon):
    lat_neg, lat_deg, lat_min = degrees_minutes(lat)
    lon_neg, lon_deg, lon_min = degrees_minutes(lon)
    if lon_deg >= 180:  # 180°00' has no text form; the next minute west of it does
        lon_deg, lon_min = 179, 59
    line = b" " + name.ljust(30, b" ")
    line += degree_text(lat_neg, lat_deg, 3).encode() + b" " + b"%02d" % lat_min
    line += b" " + degree_text(lon_neg, lon_deg, 4).encode() + b" " + b"%02d" % lon_min
    assert len(line) == 45
    return line


# ---------------------------------------------------------------- Russian names

SAINT_PREFIXES = [("Sainte-", "Сент-"), ("Saint-", None), ("San ", "Сан-"), ("Santa ", "Санта-"),
                  ("Santo ", "Санту-"), ("São ", "Сан-")]


def saint_name(ru, latin):
    """The catalogue writes some French and Latin saints' towns as "Санкт-…"
    (Saint-Ouen as "Санкт-Оуэн"); Russian writes "Сен-"/"Сент-" for French
    places and "Сан-", "Санта-", "Санту-" for Spanish, Italian and Portuguese
    ones. German and Russian "Санкт-" (Sankt, Saint Petersburg) stays."""
    if not ru.startswith("Санкт-"):
        return ru
    rest = ru[len("Санкт-"):]
    for prefix, russian in SAINT_PREFIXES:
        if latin.startswith(prefix):
            if russian is None:  # French Saint-: "Сент-" before a vowel, "Сен-" before a consonant
                russian = "Сент-" if rest[:1] in "АЕЁИОУЫЭЮЯ" else "Сен-"
            return russian + rest
    return ru


def native_cyrillic(text, lang):
    """Bulgarian ъ is the vowel Russian writes ы (Търново: Тырново)."""
    letters = dict(NATIVE_LETTERS, **({"ъ": "ы", "Ъ": "Ы"} if lang == "bg" else {}))
    return "".join(letters.get(ch, ch) for ch in text)


def fold_key(b):
    """The search key of cp1251 bytes as the program folds them: case, Ё as Е."""
    out = bytearray()
    for x in b:
        if 0x41 <= x <= 0x5A or 0xC0 <= x <= 0xDF:
            x += 0x20
        elif x in (0xA8, 0xB8):
            x = 0xE5
        out.append(x)
    return bytes(out).strip()


# ---------------------------------------------------------------- sources

class GeoNames:
    def __init__(self):
        self.lib = ctypes.CDLL("libgeonames.so.0")
        self.glib = ctypes.CDLL("libglib-2.0.so.0")
        lib, glib = self.lib, self.glib
        lib.geonames_get_n_cities.restype = ctypes.c_int
        lib.geonames_get_city.restype = ctypes.c_void_p
        lib.geonames_get_city.argtypes = [ctypes.c_int]
        lib.geonames_city_free.argtypes = [ctypes.c_void_p]
        for f in ("name", "state", "country_code", "timezone"):
            fn = getattr(lib, "geonames_city_get_" + f)
            fn.restype = ctypes.c_char_p
            fn.argtypes = [ctypes.c_void_p]
        for f in ("latitude", "longitude"):
            fn = getattr(lib, "geonames_city_get_" + f)
            fn.restype = ctypes.c_double
            fn.argtypes = [ctypes.c_void_p]
        lib.geonames_city_get_population.restype = ctypes.c_uint
        lib.geonames_city_get_population.argtypes = [ctypes.c_void_p]
        glib.g_variant_get_child_value.restype = ctypes.c_void_p
        glib.g_variant_get_child_value.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
        glib.g_variant_get_string.restype = ctypes.c_char_p
        glib.g_variant_get_string.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        glib.g_variant_unref.argtypes = [ctypes.c_void_p]

    def cities(self):
        lib, glib = self.lib, self.glib
        for i in range(lib.geonames_get_n_cities()):
            c = lib.geonames_get_city(i)
            child = glib.g_variant_get_child_value(c, 0)  # the GeoNames id
            gid = glib.g_variant_get_string(child, None).decode()
            glib.g_variant_unref(child)
            yield {
                "id": gid,
                "name": lib.geonames_city_get_name(c).decode(),
                "state": (lib.geonames_city_get_state(c) or b"").decode(),
                "cc": lib.geonames_city_get_country_code(c).decode(),
                "tz": lib.geonames_city_get_timezone(c).decode(),
                "lat": lib.geonames_city_get_latitude(c),
                "lon": lib.geonames_city_get_longitude(c),
                "pop": lib.geonames_city_get_population(c),
            }
            lib.geonames_city_free(c)


def catalogue(path):
    with open(path, "rb") as f:
        return gettext.GNUTranslations(f)


def country_names():
    tr = catalogue(ISO_MO)
    with open(ISO_JSON, encoding="utf-8") as f:
        entries = json.load(f)["3166-1"]
    names = {}
    for e in entries:
        english = e.get("common_name", e["name"])
        ru = tr.gettext(english)
        if ru == english:
            ru = tr.gettext(e["name"])
        names[e["alpha_2"]] = ru
    names.update(COUNTRY_NAMES)
    return names


def tzdata_version(zoneinfo_dir):
    try:
        with open(os.path.join(zoneinfo_dir, "tzdata.zi"), encoding="ascii") as f:
            first = f.readline().strip()
        return first.replace("# version ", "")
    except OSError:
        return "unknown"


# ---------------------------------------------------------------- zone table

def read_tzif(path):
    """(transitions, types, footer) of a TZif file of version 2 or later: the
    64-bit transition instants (seconds since 1970 UTC) with their type index,
    the types' UTC offsets in seconds, and the POSIX rule for later times."""
    with open(path, "rb") as f:
        data = f.read()

    def header(at):
        if data[at:at + 4] != b"TZif":
            raise ValueError("%s is not a TZif file" % path)
        counts = struct.unpack(">6l", data[at + 20:at + 44])
        return data[at + 4:at + 5], counts

    version, (isut, isstd, leap, timecnt, typecnt, charcnt) = header(0)
    if version < b"2":
        raise ValueError("%s: TZif version 1 has no 64-bit data" % path)
    at = 44 + timecnt * 5 + typecnt * 6 + charcnt + leap * 8 + isstd + isut
    _, (isut, isstd, leap, timecnt, typecnt, charcnt) = header(at)
    at += 44
    times = struct.unpack(">%dq" % timecnt, data[at:at + 8 * timecnt])
    at += 8 * timecnt
    indexes = data[at:at + timecnt]
    at += timecnt
    types = [struct.unpack(">lBB", data[at + 6 * k:at + 6 * k + 6])[0] for k in range(typecnt)]
    at += 6 * typecnt + charcnt + leap * 12 + isstd + isut
    footer = data[at:].strip(b"\n").decode("ascii")
    return list(zip(times, indexes)), types, footer


def seconds_of(moment):
    return int((moment - EPOCH).total_seconds())


def utc_offset_seconds(zone, seconds):
    moment = EPOCH + timedelta(seconds=seconds)
    return int(moment.astimezone(zone).utcoffset().total_seconds())


def zone_transitions(zoneinfo_dir, name):
    """(first offset, [(instant, offset), ...]) of a zone over the table's span:
    the UTC offset in seconds, summer time included, in force at its start and
    from each instant (seconds since 1970 UTC) at which it changes. The TZif
    transitions give the history; past the last of them the zone's rule, as
    zoneinfo applies it, is followed day by day and each change found to the
    second."""
    transitions, types, footer = read_tzif(os.path.join(zoneinfo_dir, name))
    zone = ZoneInfo(name)
    start, end = seconds_of(TABLE_FROM), seconds_of(TABLE_TO)
    first = types[0] if types else 0
    changes = []
    for t, k in transitions:
        if t < start:
            first = types[k]
        elif t < end:
            changes.append((t, types[k]))
    # Past the file's last transition: the rule of the footer.
    if "," in footer:
        day = 86400
        t = max([start] + [x for x, _ in transitions]) + day
        before = utc_offset_seconds(zone, t - day)
        while t < end:
            now = utc_offset_seconds(zone, t)
            if now != before:
                lo, hi = t - day, t  # offset `before` at lo, `now` at hi
                while hi - lo > 1:
                    mid = (lo + hi) // 2
                    if utc_offset_seconds(zone, mid) == before:
                        lo = mid
                    else:
                        hi = mid
                changes.append((hi, now))
                before = now
            t += day
    # Only changes of the total offset count (a new name or a summer-time flag
    # with the same offset changes no clock).
    kept, current = [], first
    for t, off in sorted(changes):
        if off != current:
            kept.append((t, off))
            current = off
    check_transitions(zone, name, first, kept)
    return first, kept


def check_transitions(zone, name, first, changes):
    """The table against zoneinfo: around every change and half-way between."""
    points = [(seconds_of(TABLE_FROM), first)]
    previous = first
    last = seconds_of(TABLE_FROM)
    for t, off in changes:
        points += [((last + t) // 2, previous), (t - 1, previous), (t, off)]
        previous, last = off, t
    points.append(((last + seconds_of(TABLE_TO)) // 2, previous))
    for t, off in points:
        if utc_offset_seconds(zone, t) != off:
            raise AssertionError("%s: the table gives %d s at %d, zoneinfo %d s" %
                                 (name, off, t, utc_offset_seconds(zone, t)))


def zone_table(zoneinfo_dir, names, version):
    """The zone table as bytes (see tools/README.md)."""
    lines = ["PELORIN ZONES 1",
             "tzdata %s %d %d" % (version, TABLE_FROM.year, TABLE_TO.year - 1),
             "%d" % len(names)]
    total = 0
    for number, name in enumerate(names, 1):
        first, changes = zone_transitions(zoneinfo_dir, name)
        lines.append("Z %d %s %d %d" % (number, name, first, len(changes)))
        lines += ["%d %d" % c for c in changes]
        total += len(changes)
    lines.append("END")
    return ("\r\n".join(lines) + "\r\n").encode("ascii"), total


def write_atomically(path, data):
    """Writes the file through a temporary file beside it and one rename."""
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".tmp-", suffix=".part")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
            f.flush()
            os.fsync(f.fileno())
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


# ---------------------------------------------------------------- blocks

def unique_city_names(cities):
    """Gives every city of one block a name whose first 29 characters no other
    city of the block shares: namesakes get their province in brackets, and a
    number when that is not enough."""
    groups = {}
    for c in cities:
        groups.setdefault(c["ru"][:NAME_WIDTH], []).append(c)
    taken = set(k for k, g in groups.items() if len(g) == 1)
    for key, group in sorted(groups.items()):
        if len(group) == 1:
            group[0]["label"] = group[0]["ru"][:NAME_WIDTH]
            continue
        group.sort(key=lambda c: (-c["pop"], c["id"]))
        for c in group:
            base = c["ru"].rstrip()
            state = to_cp1251(c["state"]).strip()
            cand = (base + b" (" + state + b")")[:NAME_WIDTH] if state else base[:NAME_WIDTH]
            n = 2
            while cand in taken:
                suffix = b" " + str(n).encode()
                cand = base[:NAME_WIDTH - len(suffix)] + suffix
                n += 1
            taken.add(cand)
            c["label"] = cand


def block_name(country, cities, split):
    if not split:
        return country[:COUNTRY_WIDTH]
    # The biggest city with a Russian name that fits names the block.
    for c in sorted(cities, key=lambda c: (not c["has_ru"], -c["pop"], c["id"])):
        cand = country + b" (" + c["ru"].rstrip() + b")"
        if len(cand) <= COUNTRY_WIDTH:
            return cand
    biggest = min(cities, key=lambda c: (-c["pop"], c["id"]))
    room = COUNTRY_WIDTH - len(country) - 3
    return country + b" (" + biggest["ru"][:max(room, 1)] + b")"


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data"))
    ap.add_argument("--today", default=DEFAULT_TODAY)
    ap.add_argument("--zoneinfo", default=ZONEINFO_DIR,
                    help="the TZif files of tzdata (default %(default)s)")
    args = ap.parse_args()
    today = date.fromisoformat(args.today)
    zoneinfo.reset_tzpath([os.path.abspath(args.zoneinfo)])

    region_of = {}
    for file_name, _, codes in REGIONS:
        for cc in codes.split():
            assert cc not in region_of, cc
            region_of[cc] = file_name

    ru_names = catalogue(GEONAMES_MO)
    native_catalogues = {lang: catalogue(GEONAMES_MO.replace("/ru/", "/%s/" % lang))
                         for lang in set(NATIVE_CYRILLIC.values())}
    alt_catalogues = [catalogue(GEONAMES_MO.replace("/ru/", "/%s/" % lang)) for lang in ALTERNATE_LANGUAGES]
    native_used = saints = 0
    countries = country_names()
    ranges, today_utc = field_ranges(today)
    zone_cache = {}

    skipped = {"no region": 0, "no zone": 0}
    unassigned = set()
    latin = 0
    clamped = 0
    by_country = {}
    for c in GeoNames().cities():
        if c["cc"] not in region_of:
            skipped["no region"] += 1
            unassigned.add(c["cc"])
            continue
        if c["tz"] not in zone_cache:
            try:
                zi = ZoneInfo(c["tz"])
                zone_cache[c["tz"]] = zone_fields(zi, ranges, today_utc)
            except Exception:
                zone_cache[c["tz"]] = None
        fields = zone_cache[c["tz"]]
        if fields is None:
            skipped["no zone"] += 1
            continue
        ru = ru_names.gettext(c["id"])
        c["has_ru"] = ru != c["id"]
        c["former"] = []
        if not c["has_ru"] and c["cc"] in NATIVE_CYRILLIC:
            lang = NATIVE_CYRILLIC[c["cc"]]
            native = native_catalogues[lang].gettext(c["id"])
            if native != c["id"]:
                ru, c["has_ru"] = native_cyrillic(native, lang), True
                native_used += 1
        if c["id"] in RENAMED:
            current, former = RENAMED[c["id"]]
            c["former"].append(former)
            ru, c["has_ru"] = current, True
        if c["has_ru"]:
            fixed = saint_name(ru, c["name"])
            if fixed != ru:
                c["former"].append(ru)
                ru = fixed
                saints += 1
        if not c["has_ru"]:
            ru = c["name"]
            latin += 1
        c["ru"] = to_cp1251(ru.strip())
        # The names people type for it: GeoNames' own, the other languages',
        # a former Russian name; the search finds the city by any of them.
        alts = [c["name"]] + [tr.gettext(c["id"]) for tr in alt_catalogues] + c["former"]
        c["alts"] = [to_cp1251(a.strip()) for a in alts if a and a != c["id"]]
        c["fields"] = fields
        if round(abs(c["lon"]) * 60) >= 180 * 60:
            clamped += 1
        by_country.setdefault(c["cc"], []).append(c)

    if unassigned:
        print("countries without a region (left out):", " ".join(sorted(unassigned)), file=sys.stderr)

    per_region = {f: [] for f, _, _ in REGIONS}
    for cc, cities in by_country.items():
        histories = {}
        for c in cities:
            histories.setdefault(c["fields"], []).append(c)
        country = to_cp1251(countries.get(cc, cc))
        split = len(histories) > 1
        for fields, members in histories.items():
            name = block_name(country, members, split)
            per_region[region_of[cc]].append((name, fields, members))

    # Zone numbers: the zones the cities use, in the order of their names.
    zone_names = sorted(set(c["tz"] for cities in by_country.values() for c in cities))
    zone_number = {name: k for k, name in enumerate(zone_names, 1)}
    assert len(zone_names) <= 9999
    version = tzdata_version(args.zoneinfo)
    table, n_changes = zone_table(args.zoneinfo, zone_names, version)
    write_atomically(os.path.join(args.out, ZONE_TABLE), table)

    print("tzdata %s, reference day %s" % (version, today.isoformat()))
    print("%s: %d zones, %d changes of offset %d-%d, %d bytes" %
          (ZONE_TABLE, len(zone_names), n_changes, TABLE_FROM.year, TABLE_TO.year - 1, len(table)))
    total_blocks = total_cities = 0
    alt_lines = [b"PELORIN CITIES 1"]
    n_alternates = 0
    for file_name, title, _ in REGIONS:
        blocks = per_region[file_name]
        names = [b[0] for b in blocks]
        dup = set(n for n in names if names.count(n) > 1)
        assert not dup, (file_name, dup)
        out = bytearray()
        n_cities = 0
        for name, fields, members in sorted(blocks, key=lambda b: collation_key(b[0])):
            # The block's zone, for cities added to it later: its biggest city's.
            biggest = min(members, key=lambda c: (-c["pop"], c["id"]))
            line = b"*" + name.ljust(COUNTRY_WIDTH, b" ") + b"  " + "".join(fields).encode("ascii")
            line += b"%4d" % zone_number[biggest["tz"]]
            assert len(line) == 80
            out += line + b"\r\n"
            unique_city_names(members)
            for c in sorted(members, key=lambda c: (collation_key(c["label"]), -c["pop"], c["id"])):
                out += city_line(c["label"], c["lat"], c["lon"]) + b"%4d" % zone_number[c["tz"]] + b"\r\n"
                n_cities += 1
                seen = {fold_key(c["label"]), fold_key(c["ru"])}
                alts = []
                for a in [c["ru"]] + c["alts"]:
                    k = fold_key(a)
                    if k and k not in seen and b"\t" not in a:
                        seen.add(k)
                        alts.append(a.strip())
                n_alternates += len(alts)
                alt_lines.append(b"\t".join([file_name[:-4].encode(), name.rstrip(), c["label"].rstrip(),
                                             b"%d" % c["pop"]] + alts))
        write_atomically(os.path.join(args.out, file_name), bytes(out))
        countries_here = len(set(b[2][0]["cc"] for b in blocks))
        print("%-13s %-38s %3d countries %4d blocks %6d cities" %
              (file_name, title, countries_here, len(blocks), n_cities))
        total_blocks += len(blocks)
        total_cities += n_cities
    alt_lines.append(b"END")
    alt_data = b"\r\n".join(alt_lines) + b"\r\n"
    write_atomically(os.path.join(args.out, ALTERNATES_FILE), alt_data)
    print("%s: %d cities, %d other names, %d bytes; %d Russian names from a native Cyrillic catalogue,"
          " %d saints' towns written as Russian writes them, %d renamed cities" %
          (ALTERNATES_FILE, total_cities, n_alternates, len(alt_data), native_used, saints, len(RENAMED)))
    print("total: %d blocks, %d cities (%d without a Russian name, written in Latin letters);"
          " left out: %d without a region, %d without a known zone; %d longitudes of 180 degrees"
          " written as 179 59" % (total_blocks, total_cities, latin, skipped["no region"],
                                  skipped["no zone"], clamped))


if __name__ == "__main__":
    main()
