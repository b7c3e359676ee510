#!/usr/bin/env bash
# Installs the Debian packages the Windows build needs, when some are missing.
#   install-deps.sh core   MinGW-w64, Wine and the GoogleTest sources
#   install-deps.sh app    also what building Qt and the installer need
set -euo pipefail
packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 googletest xvfb
)
if [ "${1:-core}" = app ]; then
  # fonts-wine: Wine's own Tahoma and dialog fonts, for trying the window program.
  packages+=(qt6-base-dev qt6-base-dev-tools qt6-translations-l10n nsis zip xz-utils python3 fp-utils fonts-wine)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
