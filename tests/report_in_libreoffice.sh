#!/usr/bin/env bash
# Opens the expected pair and man reports in LibreOffice (a reader other than the
# program's own) and checks that their Cyrillic letters come out as letters.
#   report_in_libreoffice.sh SOFFICE REPORT_DIR
set -euo pipefail
soffice="$1"
reports="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$soffice" -env:UserInstallation="file://$work/profile" --headless \
  --convert-to "txt:Text (encoded):UTF8" --outdir "$work" \
  "$reports/Itogo.rtf" "$reports/Itogo_Men.rtf" > "$work/log" 2>&1 || { cat "$work/log"; exit 1; }
grep -q 'АНАЛИЗ СОВМЕСТИМОСТИ' "$work/Itogo.txt" || { echo "Itogo.rtf:"; head -8 "$work/Itogo.txt"; exit 1; }
grep -q 'ГОРОСКОП МУЖЧИНЫ' "$work/Itogo_Men.txt" || { echo "Itogo_Men.rtf:"; head -8 "$work/Itogo_Men.txt"; exit 1; }
echo "both reports read by LibreOffice with their letters"
