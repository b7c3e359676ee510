#!/usr/bin/env bash
# Starts the built program. On first run it creates the per-user data directory
# from the built data directory (with a few sample people) and a main.dat that
# names it. Nothing in the repository is written.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
config_home="${XDG_CONFIG_HOME:-$HOME/.config}"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
config="${PELORIN_CONFIG:-$config_home/pelorin/main.dat}"
datadir="$data_home/pelorin/data"
sysdir="$data_home/pelorin/system"

if [ ! -f "$config" ]; then
  mkdir -p "$(dirname "$config")" "$datadir" "$sysdir"
  cp -rn "$top/build/data/." "$datadir/"
  if [ -d "$top/build/help" ]; then cp -rn "$top/build/help/." "$sysdir/"; fi
  if [ -x "$top/build/tools/pelorin-sample-people" ]; then
    "$top/build/tools/pelorin-sample-people" "$datadir"
  fi
  printf '%s/\r\n%s/\r\n' "$sysdir" "$datadir" > "$config"
  echo "Created $config (data in $datadir)"
fi

if [ -x "$top/build/app/pelorin" ]; then
  exec "$top/build/app/pelorin" --config "$config" "$@"
fi
# Without the desktop program: the people of the data directory, through the batch tool.
exec "$top/build/cli/pelorin-cli" people --config "$config"
