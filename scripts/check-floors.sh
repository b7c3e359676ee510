#!/usr/bin/env bash
# Checks that every source file includes only from its own floor or below, and
# that no Qt header is included below the Qt floors. Prints each offending
# include and exits 1 when there is one.
#   top:   app/ cli/            (entry points)
#          people/ui/ graphics/ui/  (Qt dialogs and painters)
#          ui/                  (the shared Qt floor)
#          graphics/ analysis/ people/ astro/ base/
set -euo pipefail
cd "$(dirname "$0")/.."

floor_of() {
    case "$1" in
        base/*) echo 0 ;;
        astro/*) echo 1 ;;
        people/ui/*) echo 6 ;;
        people/*) echo 2 ;;
        analysis/*) echo 3 ;;
        graphics/ui/*) echo 6 ;;
        graphics/*) echo 4 ;;
        ui/*) echo 5 ;;
        app/*|cli/*) echo 7 ;;
        *) echo -1 ;;
    esac
}

status=0
while IFS= read -r file; do
    own=$(floor_of "$file")
    [ "$own" -ge 0 ] || continue
    while IFS= read -r line; do
        target=${line#*\"}
        target=${target%%\"*}
        case "$target" in ui_*.h) continue ;; esac  # forms generated from resources/
        theirs=$(floor_of "$target")
        if [ "$theirs" -lt 0 ]; then continue; fi
        # nothing outside app/ includes app/, and cli/ and app/ do not include each other
        if [ "$theirs" -gt "$own" ] || { [ "$theirs" -eq 7 ] && [ "${file%%/*}" != "${target%%/*}" ]; } ||
           { [ "$theirs" -eq 6 ] && [ "$own" -eq 6 ] && [ "${file%/ui/*}" != "${target%/ui/*}" ]; }; then
            echo "$file includes $target from a floor above its own"
            status=1
        fi
    done < <(grep -E '^#include "' "$file" || true)
    if [ "$own" -lt 5 ] && grep -qE '^#include <Q' "$file"; then
        echo "$file includes Qt below the Qt floors"
        status=1
    fi
done < <(git ls-files '*.h' '*.cpp')
exit $status
