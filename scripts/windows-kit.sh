# Sourced by the Windows scripts: finds the kit (KKT_WIN64_KIT, default ../shared/toolchains/win64)
# and sets `kit`; without one it says so in one line and ends the calling script successfully.
kit="${KKT_WIN64_KIT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/../shared/toolchains/win64}"
if [ ! -f "$kit/mingw-toolchain.cmake" ]; then
  echo "windows: no Windows kit at $kit (set KKT_WIN64_KIT): the Windows build and its tests are skipped"
  exit 0
fi
kit=$(cd "$kit" && pwd)
