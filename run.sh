#!/usr/bin/env bash
# Installs what is missing, builds Pelorin and starts it on a per-user data
# directory made from the shipped data on first run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
exec scripts/start.sh "$@"
