#!/usr/bin/env bash
# Runs the Qt-free test suite of a Windows core build (build-core.sh OUT) under
# Wine, and says how many tests passed and failed. Exit 0 only when none failed.
#   scripts/windows/run-tests.sh OUT [GTEST_FILTER]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 OUT [GTEST_FILTER]" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
"$here/install-deps.sh" core
out="$(cd "$1" && pwd)"
. "$here/wine-env.sh" "$out"
tests="$out/build/tests/pelorin_tests.exe"
[ -f "$tests" ] || { echo "no test suite at $tests: run build-core.sh $1 first" >&2; exit 2; }
log="$out/run-tests.log"
set +e
# The tests find the source tree and the build through the paths compiled into
# them; Wine reaches them as drive Z:. A private temporary folder keeps runs apart.
mkdir -p "$out/tmp"
TMP="$out/tmp" TEMP="$out/tmp" "$PELORIN_WINE" "$tests" --gtest_filter="${2:-*}" --gtest_color=no 2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
set -e
passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\{0,1\}\..*/\1/p' "$log" | tail -1)
failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$log" | tail -1)
skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\{0,1\}, listed below.*/\1/p' "$log" | tail -1)
passed=${passed:-0}; failed=${failed:-0}; skipped=${skipped:-0}
if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
  echo "Windows tests under Wine: the suite ended abnormally (exit $rc) after $passed passed"
  exit 1
fi
echo "Windows tests under Wine: $passed passed, $failed failed, $skipped skipped"
[ "$rc" -eq 0 ] && [ "$failed" -eq 0 ]
