#!/usr/bin/env bash
# Builds the libFuzzer entries of tests/fuzz with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a number of seconds from a small
# seed corpus made from the shipped data. Not part of the test suite; CI runs
# every entry for a few seconds (scripts/sanitize.sh).
#
#   tests/fuzz/run.sh [SECONDS] [ENTRY...]      (default 60 seconds, every entry; 0 builds only)
#
# Entries: tabulated person_file text_base text_pack atlas config coord_text zones
# chm_file rtf_text text_base_file analysis exchange.
# Environment: BUILD_DIR (default <repo>/build-fuzz), CXX (default clang++),
# JOBS (entries fuzzed at once, files compiled at once; default 1). Findings
# (crash-*, timeout-*, leak-*) are written to $BUILD_DIR/findings/<entry>/;
# the script fails when one appears.
set -euo pipefail

SECONDS_EACH=${1:-60}
shift || true
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build-fuzz}
CXX=${CXX:-clang++}
JOBS=${JOBS:-1}
ALL=(tabulated person_file text_base text_pack atlas config coord_text zones chm_file rtf_text text_base_file analysis exchange)
ENTRIES=("$@")
[ ${#ENTRIES[@]} -eq 0 ] && ENTRIES=("${ALL[@]}")

command -v "$CXX" >/dev/null || { echo "$CXX not found (apt-get install -y clang libclang-rt-14-dev)" >&2; exit 2; }

FLAGS=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$ROOT")

# ---- the program's logic, instrumented for coverage, as one archive
mkdir -p "$BUILD/obj" "$BUILD/bin"
objects=()
running=0
for src in "$ROOT"/base/*.cpp "$ROOT"/astro/*.cpp "$ROOT"/analysis/*.cpp "$ROOT"/people/*.cpp "$ROOT"/graphics/*.cpp "$ROOT"/app/core/*.cpp; do
    rel=${src#"$ROOT"/}
    obj="$BUILD/obj/${rel//\//_}.o"
    objects+=("$obj")
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$ROOT/base" "$ROOT/astro" "$ROOT/analysis" "$ROOT/people" "$ROOT/graphics" "$ROOT/app/core" -name '*.h' -newer "$obj" -print -quit)" ]; then
        echo "compiling $rel"
        if [ "$running" -ge "$JOBS" ]; then wait -n; running=$((running - 1)); fi
        rm -f "$obj"
        "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj" &
        running=$((running + 1))
    fi
done
while [ "$running" -gt 0 ]; do wait -n; running=$((running - 1)); done
rm -f "$BUILD/libpelorin_fuzz.a"
ar rcs "$BUILD/libpelorin_fuzz.a" "${objects[@]}"

for e in "${ENTRIES[@]}"; do
    echo "linking ${e}_fuzz"
    "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer -DPELORIN_SOURCE_DIR="\"$ROOT\"" "$ROOT/tests/fuzz/${e}_fuzz.cpp" \
        "$BUILD/libpelorin_fuzz.a" -o "$BUILD/bin/${e}_fuzz" -lchm
done

[ "$SECONDS_EACH" -gt 0 ] || exit 0  # 0 seconds: build only

# ---- seed corpora from the shipped data
SEEDS=$BUILD/seeds
rm -rf "$SEEDS"
mkdir -p "$SEEDS"/{tabulated,person_file,text_base,text_pack,atlas,config,coord_text,zones,chm_file,rtf_text,text_base_file,analysis,exchange}
cp "$ROOT/data/FEMIN.DAT" "$ROOT/data/MEN.DAT" "$SEEDS/person_file/"
head -c 501 "$ROOT/data/FEMIN.DAT" >"$SEEDS/person_file/short"
# Whole entries of the database sources, about 40 lines at a time.
for t in "$ROOT"/data/texts/*.txt; do
    awk -v out="$SEEDS/text_pack/$(basename "$t" .txt)" '
        { buf = buf $0 "\n"; n++ }
        /^@/ && n >= 40 { if (k < 6) printf "%s", buf > (out "-" k); k++; buf = ""; n = 0 }' "$t"
done
cp "$SEEDS"/text_pack/* "$SEEDS/text_base/"
cp "$SEEDS"/text_pack/* "$SEEDS/text_base_file/"
# Reports as the program writes them, whole and their first kilobytes.
for r in "$ROOT"/tests/data/report/*.rtf; do
    cp "$r" "$SEEDS/rtf_text/"
    head -c 3000 "$r" >"$SEEDS/rtf_text/$(basename "$r" .rtf)-head"
done
# Pairs of records (woman, man): births 1900..2050 in a few places, with and
# without a birth time.
python3 - "$SEEDS/analysis" <<'PY'
import struct, sys
def text(s, n):
    b = s.encode("cp1251")[:n]
    return bytes([len(b)]) + b.ljust(n, b"\0")
def record(name, stamp, sex, moment, coords, known):
    r = bytearray(501)
    r[0:21] = text(name.ljust(20), 20)
    r[41] = 1 if known else 0
    r[42:53] = text(stamp, 10)
    r[156:158] = text(sex, 1)
    r[160:191] = text("Место", 30)
    r[447:467] = text(coords, 19)
    r[481:489] = struct.pack("<d", moment)
    return bytes(r)
places = [" 37°37’ВД  55°45’СШ", "  0°07’ЗД  51°30’СШ", " 18°57’ВД  69°39’СШ", " 58°23’ЗД  34°36’ЮШ"]
for k in range(8):
    w = record("Женщина%d" % k, "01020304%02d" % k, "W", k * 6500.3 - 3000, places[k % 4], k % 2 == 0)
    m = record("Мужчина%d" % k, "02030405%02d" % k, "M", k * 6000.7 + 1000, places[(k + 1) % 4], True)
    open("%s/pair%d" % (sys.argv[1], k), "wb").write(w + m)
PY
# Country blocks of the region files.
for w in "$ROOT"/data/*.wdt; do
    awk -v out="$SEEDS/atlas/$(basename "$w" .wdt)" '
        /^\*/ { if (n > 0 && k < 4) { printf "%s", buf > (out "-" k); close(out "-" k); k++ } buf = ""; n = 0 }
        n < 30 { buf = buf $0 "\n"; n++ }' "$w"
done
# The first zones of the zone table, as a table of their own.
awk -v out="$SEEDS/zones/first" '
    NR <= 2 { printf "%s\n", $0 > out; next }
    NR == 3 { printf "3\r\n" > out; next }
    /^Z 4 / { exit }
    { printf "%s\n", $0 > out }
    END { printf "END\r\n" > out }' "$ROOT/data/zones.tzt"
printf 'C:\\Pelorin\\System\\\r\nC:\\Pelorin\\Data\\\r\n' >"$SEEDS/config/windows"
printf '/usr/share/pelorin/\n/home/user/.local/share/pelorin/\n' >"$SEEDS/config/unix"
# Coordinate text (19 bytes after its length byte) and moment of the first women.
for slot in 0 1 2 3 4 5; do
    { dd if="$ROOT/data/FEMIN.DAT" bs=1 skip=$((slot * 501 + 448)) count=19 status=none
      dd if="$ROOT/data/FEMIN.DAT" bs=1 skip=$((slot * 501 + 481)) count=8 status=none; } >"$SEEDS/coord_text/w$slot"
done

# The help files, compiled from help/ as the build does.
if command -v chmcmd >/dev/null; then
    cmake -DCHMCMD="$(command -v chmcmd)" -DSOURCE="$ROOT/help/korvantis" -DSTAGE="$BUILD/chm-stage/k" \
        -DOUTPUT="$SEEDS/chm_file/Korvantis_7.chm" -DTITLE=Korvantis -DSTYLE="$ROOT/help/help.css" \
        -P "$ROOT/cmake/compile_chm.cmake"
    cmake -DCHMCMD="$(command -v chmcmd)" -DSOURCE="$ROOT/help" -DSTAGE="$BUILD/chm-stage/p" \
        -DOUTPUT="$SEEDS/chm_file/PelorinHelp.chm" -DTITLE=Pelorin -P "$ROOT/cmake/compile_chm.cmake"
fi
# Hand-written people in both exchange formats.
printf 'name,sex,date,time,place,latitude,longitude,zone,summer_hour,comment\r\n"A ""b"", c",W,05.06.1975,14:30,X,-34.5,-58.25,5.5,1,"x\r\ny"\r\n' >"$SEEDS/exchange/csv"
printf '#A93:A,*,f,5.6.1975,14:30,X,*\r\n#B93:*,34s37,58w23,3hw30,1\r\n#COM:a, b\r\n' >"$SEEDS/exchange/aaf"

max_len() {
    case $1 in
        person_file) echo 50200 ;;
        analysis) echo 1002 ;;
        rtf_text) echo 65536 ;;
        text_base_file) echo 16384 ;;
        text_base | text_pack) echo 16384 ;;
        atlas) echo 8192 ;;
        coord_text) echo 64 ;;
        zones) echo 16384 ;;
        chm_file) echo 1048576 ;;
        *) echo 4096 ;;
    esac
}

run_one() {
    local e=$1 corpus="$BUILD/corpus/$1" found="$BUILD/findings/$1"
    mkdir -p "$corpus" "$found"
    echo "fuzzing $e for $SECONDS_EACH s"
    # Short-lived scratch files of the entries go to their own directory.
    mkdir -p "$BUILD/tmp"
    TMPDIR="$BUILD/tmp" "$BUILD/bin/${e}_fuzz" -max_total_time="$SECONDS_EACH" -max_len="$(max_len "$e")" \
        -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$found/" \
        "$corpus" "$SEEDS/$e" >"$BUILD/$e.log" 2>&1 || true
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$BUILD/$e.log" | sed "s/^/  $e: /"
}

pids=()
for e in "${ENTRIES[@]}"; do
    run_one "$e" &
    pids+=($!)
    if [ ${#pids[@]} -ge "$JOBS" ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
done
wait

status=0
for e in "${ENTRIES[@]}"; do
    if ls "$BUILD/findings/$e"/* >/dev/null 2>&1; then
        echo "FINDINGS for $e (log: $BUILD/$e.log):"; ls "$BUILD/findings/$e"; status=1
    fi
done
exit $status
