#!/usr/bin/env bash
# The copies scripts/build-windows.sh made, as a user gets them: the zip unpacked into a folder of
# its own talks to a register with nothing but its own files (no kit, no WINEPATH); the installer puts
# the programs under the folder given, with a Start-menu shortcut, and its uninstaller takes away
# exactly what it installed, leaving the user's settings. Arguments: the source folder, the version.
set -euo pipefail
src=$1 version=$2
name="kkt-config-$version-win64"
zip="$src/dist/$name.zip" setup="$src/dist/$name-setup.exe"
for f in "$zip" "$setup"; do
  [ -f "$f" ] || { echo "FAIL: $f is missing: run scripts/build-windows.sh first"; exit 1; }
done
: "${WINEPREFIX:?run by scripts/run-windows-tests.sh}" "${KKT_COM_FRESH:?run by scripts/run-windows-tests.sh}"
unset WINEPATH
fail() { echo "FAIL: $*"; exit 1; }
drive="$WINEPREFIX/drive_c"

# The zip: unpacked, its kkt-cli checks the link to a simulator.
rm -rf "$drive/kkt-zip-test"
mkdir -p "$drive/kkt-zip-test"
unzip -q "$zip" -d "$drive/kkt-zip-test"
copy="$drive/kkt-zip-test/$name"
touch "$copy/ProgSett.ini"
out=$(wine "$copy/kkt-cli.exe" --port "$KKT_COM_FRESH" --speed 115200 --number 1 status 2>&1) ||
  fail "kkt-cli status from the zip: $out"
echo "zip: $out"
[ -f "$copy/platforms/qwindows.dll" ] || fail "the zip has no platforms\\qwindows.dll"

# The installer, silently into a folder of the test's own.
dir="$drive/kkt-setup-test"
rm -rf "$dir"
wine "$setup" /S '/D=C:\kkt-setup-test'
wineserver -w
for f in kkt-config.exe kkt-cli.exe kkt-xlsread.exe Qt6Core.dll platforms/qwindows.dll translations/qtbase_ru.qm uninstall.exe; do
  [ -f "$dir/$f" ] || fail "the installer did not install $f"
done
link="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/kkt-config.lnk"
[ -f "$link" ] || fail "no Start-menu shortcut"
out=$(wine "$dir/kkt-cli.exe" --version 2>&1) && [[ "$out" == *"$version"* ]] || fail "installed kkt-cli --version: $out"

# The settings a copy in a writable folder keeps beside itself outlive the uninstaller.
printf '[Port]\r\n' > "$dir/ProgSett.ini"
printf '[Scanner]\r\n' > "$dir/Scan.cfg"
wine "$dir/uninstall.exe" /S
wineserver -w
[ ! -f "$link" ] || fail "the shortcut outlived the uninstaller"
left=$(cd "$dir" && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./ProgSett.ini ./Scan.cfg " ] || fail "after uninstalling, the folder holds: $left"
rm -rf "$dir" "$drive/kkt-zip-test"
echo "package: zip and installer as a user gets them"
