#!/usr/bin/env bash
# Builds the libFuzzer entries of tests/fuzz with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a number of seconds from a small
# seed corpus made from the shipped data. Not part of the test suite or of CI.
#
#   tests/fuzz/run.sh [SECONDS] [ENTRY...]      (default 60 seconds, every entry; 0 builds only)
#
# Entries: tabulated person_file text_base text_pack atlas config coord_text zones exchange.
# Environment: BUILD_DIR (default <repo>/build-fuzz), CXX (default clang++),
# JOBS (entries fuzzed at once, default 1). Findings (crash-*, timeout-*, leak-*)
# are written to $BUILD_DIR/findings/<entry>/; the script fails when one appears.
set -euo pipefail

SECONDS_EACH=${1:-60}
shift || true
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD_DIR:-$ROOT/build-fuzz}
CXX=${CXX:-clang++}
JOBS=${JOBS:-1}
ALL=(tabulated person_file text_base text_pack atlas config coord_text zones exchange)
ENTRIES=("$@")
[ ${#ENTRIES[@]} -eq 0 ] && ENTRIES=("${ALL[@]}")

command -v "$CXX" >/dev/null || { echo "$CXX not found (apt-get install -y clang libclang-rt-14-dev)" >&2; exit 2; }

FLAGS=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$ROOT")

# ---- the program's logic, instrumented for coverage, as one archive
mkdir -p "$BUILD/obj" "$BUILD/bin"
objects=()
for src in "$ROOT"/base/*.cpp "$ROOT"/astro/*.cpp "$ROOT"/analysis/*.cpp "$ROOT"/people/*.cpp "$ROOT"/graphics/*.cpp "$ROOT"/app/core/*.cpp; do
    rel=${src#"$ROOT"/}
    obj="$BUILD/obj/${rel//\//_}.o"
    objects+=("$obj")
    if [ ! -f "$obj" ] || [ "$src" -nt "$obj" ] || [ -n "$(find "$ROOT/base" "$ROOT/astro" "$ROOT/analysis" "$ROOT/people" "$ROOT/graphics" "$ROOT/app/core" -name '*.h' -newer "$obj" -print -quit)" ]; then
        echo "compiling $rel"
        "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer-no-link -c "$src" -o "$obj"
    fi
done
rm -f "$BUILD/libpelorin_fuzz.a"
ar rcs "$BUILD/libpelorin_fuzz.a" "${objects[@]}"

for e in "${ENTRIES[@]}"; do
    echo "linking ${e}_fuzz"
    "$CXX" "${FLAGS[@]}" -fsanitize=fuzzer "$ROOT/tests/fuzz/${e}_fuzz.cpp" "$BUILD/libpelorin_fuzz.a" \
        -o "$BUILD/bin/${e}_fuzz"
done

[ "$SECONDS_EACH" -gt 0 ] || exit 0  # 0 seconds: build only

# ---- seed corpora from the shipped data
SEEDS=$BUILD/seeds
rm -rf "$SEEDS"
mkdir -p "$SEEDS"/{tabulated,person_file,text_base,text_pack,atlas,config,coord_text,zones,exchange}
cp "$ROOT/data/FEMIN.DAT" "$ROOT/data/MEN.DAT" "$SEEDS/person_file/"
head -c 501 "$ROOT/data/FEMIN.DAT" >"$SEEDS/person_file/short"
# Whole entries of the database sources, about 40 lines at a time.
for t in "$ROOT"/data/texts/*.txt; do
    awk -v out="$SEEDS/text_pack/$(basename "$t" .txt)" '
        { buf = buf $0 "\n"; n++ }
        /^@/ && n >= 40 { if (k < 6) printf "%s", buf > (out "-" k); k++; buf = ""; n = 0 }' "$t"
done
cp "$SEEDS"/text_pack/* "$SEEDS/text_base/"
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

# Hand-written people in both exchange formats.
printf 'name,sex,date,time,place,latitude,longitude,zone,summer_hour,comment\r\n"A ""b"", c",W,05.06.1975,14:30,X,-34.5,-58.25,5.5,1,"x\r\ny"\r\n' >"$SEEDS/exchange/csv"
printf '#A93:A,*,f,5.6.1975,14:30,X,*\r\n#B93:*,34s37,58w23,3hw30,1\r\n#COM:a, b\r\n' >"$SEEDS/exchange/aaf"

max_len() {
    case $1 in
        person_file) echo 50200 ;;
        text_base | text_pack) echo 16384 ;;
        atlas) echo 8192 ;;
        coord_text) echo 64 ;;
        zones) echo 16384 ;;
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
