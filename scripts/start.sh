#!/usr/bin/env bash
# Starts the built program. On first run the program itself creates the per-user
# data directory from the built data directory (with a few sample people) and a
# main.dat that names it, as the installed program does. Nothing in the
# repository is written.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
if [ -x "$top/build/app/pelorin" ]; then
  exec "$top/build/app/pelorin" "$@"
fi
# Without the desktop program: the same first start, then the people of the data
# directory through the batch tool.
config_home="${XDG_CONFIG_HOME:-$HOME/.config}"
config="${PELORIN_CONFIG:-$config_home/pelorin/main.dat}"
"$top/build/tools/pelorin-sample-people" --first-start "$config"
exec "$top/build/cli/pelorin-cli" people --config "$config"
