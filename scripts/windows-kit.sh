# Sourced by the Windows scripts from the source folder: finds the kit (KKT_WIN64_KIT, default
# ../shared/toolchains/win64) and sets `kit`; without one it says so in one line and ends the calling
# script successfully. Then installs what the Windows build needs and configures build-win/.
kit="${KKT_WIN64_KIT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/../shared/toolchains/win64}"
if [ ! -f "$kit/mingw-toolchain.cmake" ]; then
  echo "windows: no Windows kit at $kit (set KKT_WIN64_KIT): the Windows build and its tests are skipped"
  exit 0
fi
kit=$(cd "$kit" && pwd)
bash scripts/install-deps.sh --windows >&2
cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$kit/mingw-toolchain.cmake" >/dev/null
