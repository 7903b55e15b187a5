#!/usr/bin/env bash
# The Windows build under Wine against the Linux register simulator: builds the copy of
# scripts/build-windows.sh if there is none, links a simulator with demo data into the prefix as
# COM11, preselects it in the copy's "ProgSett.ini" and starts kkt-config.exe (needs a display).
# Without a kit it says so in one line and does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/windows-kit.sh
version=$(sed -n "s/^CMAKE_PROJECT_VERSION:STATIC=//p" build-win/CMakeCache.txt)
copy="$root/dist/kkt-config-$version-win64"
[ -f "$copy/kkt-config.exe" ] || bash scripts/build-windows.sh
export WINEPREFIX="$root/build-win/wine" WINEDEBUG=-all
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
[ -f "${KKT_SIM_BUILD:-build}/CMakeCache.txt" ] || cmake -S . -B "${KKT_SIM_BUILD:-build}" -G Ninja >/dev/null
cmake --build "${KKT_SIM_BUILD:-build}" -j2 --target kkt-sim
sim="$root/${KKT_SIM_BUILD:-build}/kkt-sim"

work=$(mktemp -d)
mkfifo "$work/in"
"$sim" --name kkt-sim-wine --demo-data < "$work/in" > "$work/out" &
simpid=$!
exec {hold}>"$work/in"
trap 'kill $simpid 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -f "$WINEPREFIX/dosdevices/com11"; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/out" ] && break; sleep 0.05; done
ln -sfn "$(head -n1 "$work/out")" "$WINEPREFIX/dosdevices/com11"
echo "register simulator on $(head -n1 "$work/out"), in Wine as COM11"
printf '[COM_PORT]\r\nName=\x7fCOM11\x7f\r\nSpeed=115200\r\nTimeOut=3500\r\n\r\n[COMMON]\r\nNumKKT=1\r\n\r\n' \
  > "$copy/ProgSett.ini"
unset WINEPATH
# A desktop of its own: title bars and a maximised window as on Windows, whatever the display runs.
wine explorer /desktop=kkt-config,${KKT_WINE_DESKTOP:-1280x900} "$copy/kkt-config.exe" "$@"
