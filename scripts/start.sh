#!/usr/bin/env bash
# Starts the built program. On first run it creates the per-user data directory
# from the built data directory (with a few sample people) and a main.dat that
# names it and, as the system directory, build/system with the help files.
# Nothing in the repository is written.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
config_home="${XDG_CONFIG_HOME:-$HOME/.config}"
data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
config="${PELORIN_CONFIG:-$config_home/pelorin/main.dat}"
datadir="$data_home/pelorin/data"
sysdir="$top/build/system"

if [ ! -f "$config" ]; then
  mkdir -p "$(dirname "$config")" "$datadir" "$sysdir"
  cp -rn "$top/build/data/." "$datadir/"
  if [ -x "$top/build/tools/pelorin-sample-people" ]; then
    "$top/build/tools/pelorin-sample-people" "$datadir"
  fi
  printf '%s/\r\n%s/\r\n' "$sysdir" "$datadir" > "$config"
  echo "Created $config (data in $datadir)"
fi
# A main.dat of an earlier run may name the per-user system directory: it gets
# the help files as they are built now.
old_sysdir="$data_home/pelorin/system"
if [ -d "$old_sysdir" ] && ls "$top"/build/system/*.chm >/dev/null 2>&1; then
  cp -u "$top"/build/system/*.chm "$old_sysdir/"
fi

if [ -x "$top/build/app/pelorin" ]; then
  exec "$top/build/app/pelorin" --config "$config" "$@"
fi
# Without the desktop program: the people of the data directory, through the batch tool.
exec "$top/build/cli/pelorin-cli" people --config "$config"
