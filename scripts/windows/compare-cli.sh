#!/usr/bin/env bash
# Runs the same commands with the Linux pelorin-cli and with pelorin-cli.exe of a
# Windows core build (under Wine) on copies of one data directory, and compares
# their standard output and the report files byte for byte.
#   scripts/windows/compare-cli.sh LINUX_BUILD OUT
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 LINUX_BUILD OUT" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
linux="$(cd "$1" && pwd)"
out="$(cd "$2" && pwd)"
. "$here/wine-env.sh" "$out"
lcli="$linux/cli/pelorin-cli"
wcli="$out/build/cli/pelorin-cli.exe"
work="$out/compare"
rm -rf "$work"
mkdir -p "$work/linux data" "$work/windows data"
# The shipped data and a few people, added by the Linux tool.
for f in "$linux"/data/*; do
  case "$(basename "$f")" in pelorin.lck) ;; *) cp "$f" "$work/linux data/";; esac
done
printf '%s\n%s\n' "$work/linux data/" "$work/linux data/" > "$work/linux.dat"
add() { "$lcli" add --config "$work/linux.dat" "$@" | sed -n 's/.*"stamp": "\([0-9]*\)".*/\1/p'; }
w1=$(add --list women --name "Ольга Кимова" --date 05.06.1975 --time 14:30 --region sng --country "Россия (Москва)" --city "Москва")
w2=$(add --list women --name "Анна" --date 29.02.1988 --region europa --country "Германия" --city "Берлин")
m1=$(add --list men --name "Пётр" --date 15.06.1970 --place "Россия, Тверь")
m2=$(add --list men --name "Иван Иванович Петров" --date 01.01.1901 --place "Киев")
m3=$(add --list men --name "Борис" --date 12.03.1968 --time 07:15 --region sng --country "Россия (Москва)" --city "Москва")
cp -a "$work/linux data/." "$work/windows data/"
printf '%s\r\n%s\r\n' "Z:${work//\//\\}\\windows data\\" "Z:${work//\//\\}\\windows data\\" > "$work/windows.dat"

failed=0
# compare NAME ARGS...: the two outputs byte for byte. With NEAR=1 the numbers may
# differ in their last bits (the two systems' sine and arc tangent round their
# last bit differently; the positions of a chart are printed with 17 digits).
compare() {  # name, then the command's arguments with CONFIG for the config file
  local name=$1; shift
  local largs=() wargs=()
  for a in "$@"; do
    largs+=("${a//CONFIG/$work/linux.dat}")
    wargs+=("${a//CONFIG/Z:${work//\//\\}\\windows.dat}")
  done
  "$lcli" "${largs[@]}" > "$work/$name.linux.json"
  "$PELORIN_WINE" "$wcli" "${wargs[@]}" > "$work/$name.windows.json"
  if cmp -s "$work/$name.linux.json" "$work/$name.windows.json"; then
    echo "same: $name"
  elif [ "${NEAR:-0}" = 1 ] && python3 - "$work/$name.linux.json" "$work/$name.windows.json" <<'PY'
import json, sys
def same(a, b):
    if isinstance(a, float) and isinstance(b, float):
        return abs(a - b) <= 1e-12 * max(1.0, abs(a))
    if isinstance(a, list) and isinstance(b, list):
        return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if isinstance(a, dict) and isinstance(b, dict):
        return a.keys() == b.keys() and all(same(a[k], b[k]) for k in a)
    return a == b
sys.exit(0 if same(json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))) else 1)
PY
  then
    echo "same to 1e-12: $name"
  else
    echo "DIFFERENT: $name"; diff "$work/$name.linux.json" "$work/$name.windows.json" | head -5; failed=1
  fi
}
compare people people --config CONFIG
compare pair1 pair --config CONFIG --woman "$w1" --man "$m1"
for f in Itogo.rtf Itogo_Men.rtf Plus.txt Minus.txt Plus_Men.txt Minus_Men.txt; do
  if cmp -s "$work/linux data/$f" "$work/windows data/$f"; then echo "same: $f"; else echo "DIFFERENT: $f"; failed=1; fi
done
compare pair2 pair --config CONFIG --woman "$w2" --man "$m2"
# A man with his birth time and place: his cusps are numbers of 17 digits.
NEAR=1 compare pair3 pair --config CONFIG --woman "$w1" --man "$m3"
for f in Itogo.rtf Itogo_Men.rtf; do
  if cmp -s "$work/linux data/$f" "$work/windows data/$f"; then echo "same: $f"; else echo "DIFFERENT: $f"; failed=1; fi
done
NEAR=1 compare composite composite --config CONFIG --woman "$w1" --man "$m3"
NEAR=1 compare davison davison --config CONFIG --woman "$w1" --man "$m3"
compare scan-woman scan --config CONFIG --woman "$w1"
compare scan-man scan --config CONFIG --man "$m2"
NEAR=1 compare chart chart --date 05.06.1975 --time 14:30 --zone 3 --coords " 37°37’ВД  55°45’СШ" --config CONFIG
compare place place --config CONFIG --region sng --country "Россия (Москва)" --city "Москва" --date 05.06.1975
"$lcli" export --config "$work/linux.dat" --list women --format aaf --out "$work/women.linux.aaf" >/dev/null
"$PELORIN_WINE" "$wcli" export --config "Z:${work//\//\\}\\windows.dat" --list women --format aaf \
  --out "Z:${work//\//\\}\\women.windows.aaf" >/dev/null
if cmp -s "$work/women.linux.aaf" "$work/women.windows.aaf"; then echo "same: export"; else echo "DIFFERENT: export"; failed=1; fi
if [ $failed -eq 0 ]; then echo "pelorin-cli.exe under Wine gives the Linux bytes"; else exit 1; fi
