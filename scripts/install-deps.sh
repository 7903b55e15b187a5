#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need. Safe to run again.
# With --windows also what the Windows build needs: the MinGW-w64 cross compiler, Wine to run its
# tests and NSIS to make its installer (Qt for Windows comes from the kit, see README).
set -euo pipefail
PKGS=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libqt6opengl6-dev qt6-translations-l10n
  libgtest-dev libgmock-dev
  libgsf-1-dev libminizip-dev libxlsxwriter-dev zlib1g-dev
  python3 python3-xlwt
  xvfb xauth xdotool imagemagick fonts-dejavu-core
  clang libclang-rt-14-dev
)
if [ "${1:-}" = "--windows" ]; then
  PKGS+=(g++-mingw-w64-x86-64-posix wine64 wine nsis zip unzip)
fi
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
